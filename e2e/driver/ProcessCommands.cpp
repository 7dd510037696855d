#include "CommandHandlers.h"
#include "JsonLine.h"
#include "ProbeClient.h"
#include "ProcessList.h"
#include "ProcessResources.h"
#include "app/win32/Handles.h"

#include <windows.h>

namespace ambrel::e2e {

void cmdProcs(const ArgReader& a, const Output& out) {
    const auto exe = a.option(L"exe");
    const auto processes = runningProcesses();
    if (!processes) {
        throw CommandError("no process snapshot");
    }
    for (const ProcessEntry& process : *processes) {
        if (exe && !sameName(process.exe, *exe)) {
            continue;
        }
        out(JsonLine()
                .add("pid", process.pid)
                .add("ppid", process.parentPid)
                .add("exe", process.exe)
                .str());
    }
}

void cmdKill(const ArgReader& a, const Output& out) {
    const auto pid = static_cast<DWORD>(number(a.at(0, "pid"), "pid"));
    const win32::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process) {
        throw CommandError("cannot open process " + std::to_string(pid));
    }
    const BOOL ok = TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), sendTimeoutMs());
    out(JsonLine().add("killed", ok != FALSE).add("pid", pid).str());
}

void cmdResources(const ArgReader& a, const Output& out) {
    out(processResourcesJson(static_cast<DWORD>(number(a.at(0, "pid"), "pid"))));
}

void cmdRefuseWindow(const ArgReader& a, const Output& out) {
    const std::wstring name = a.count() > 0 ? a.at(0, "class") : L"";
    refuseWindowClass(name);
    out(JsonLine().add("refused", toUtf8(name)).str());
}

void cmdCompose(const ArgReader& a, const Output& out) {
    const ComposeResult r =
        composeInWindow(windowArg(a.at(0, "hwnd")), a.at(1, "text"), a.flag(L"pending"));
    out(JsonLine().add("context", r.hadContext).add("completed", r.completed).str());
}

void cmdDpiChange(const ArgReader& a, const Output& out) {
    HWND window = windowArg(a.at(0, "hwnd"));
    const int dpi = static_cast<int>(number(a.at(1, "dpi"), "dpi"));
    RECT suggested{};
    LONG* edges[] = {&suggested.left, &suggested.top, &suggested.right, &suggested.bottom};
    for (int i = 0; i < 4; ++i) {
        *edges[i] = static_cast<LONG>(number(a.at(2 + i, "rectangle"), "rectangle"));
    }
    postDpiChange(window, dpi, suggested);
    out(JsonLine().add("posted", true).str());
}

} // namespace ambrel::e2e
