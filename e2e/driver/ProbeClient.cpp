#include "ProbeClient.h"

#include "CommandArgs.h"
#include "Commands.h"
#include "JsonLine.h"
#include "Probe.h"
#include "SharedMapping.h"
#include "app/win32/Handles.h"

#include <cwchar>

namespace ambrel::e2e {
namespace {

constexpr double kProbeTimeoutMs = 60000; // the target may be slow under emulation

std::wstring probePath() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"ambrel-e2e-probe.dll";
}

ProbeShared& shared() {
    return sharedMapping<ProbeShared>(kProbeMappingName, "probe's");
}

void copyInto(wchar_t (&target)[64], const std::wstring& text) {
    if (text.size() >= 64)
        throw CommandError("text too long for the probe");
    std::wcscpy(target, text.c_str());
}

struct Hook {
    HHOOK handle;
    explicit Hook(HHOOK h) : handle(h) {
        if (handle == nullptr)
            throw CommandError("SetWindowsHookEx failed");
    }
    ~Hook() { UnhookWindowsHookEx(handle); }
    Hook(const Hook&) = delete;
    Hook& operator=(const Hook&) = delete;
};

} // namespace

HMODULE probeModule() {
    static HMODULE module = LoadLibraryW(probePath().c_str());
    if (module == nullptr)
        throw CommandError("cannot load " + toUtf8(probePath()));
    return module;
}

HOOKPROC probeHookProc(const char* name) {
    auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probeModule(), name)));
    if (proc == nullptr)
        throw CommandError(std::string("the probe has no ") + name);
    return proc;
}

void refuseWindowClass(const std::wstring& className) {
    static HHOOK cbt = nullptr;
    copyInto(shared().refusedClass, className);
    if (className.empty()) {
        if (cbt != nullptr)
            UnhookWindowsHookEx(cbt);
        cbt = nullptr;
        return;
    }
    if (cbt == nullptr) {
        cbt = SetWindowsHookExW(WH_CBT, probeHookProc("probeCbtHook"), probeModule(), 0);
        if (cbt == nullptr)
            throw CommandError("SetWindowsHookEx(WH_CBT) failed");
    }
}

namespace {

// Posts the probe's message `name` to `window` and returns once the probe, hooked into the
// window's thread, has taken it off the queue and done what it asks.
void postToProbe(HWND window, const wchar_t* name, const char* what) {
    const win32::KernelHandle done(CreateEventW(nullptr, FALSE, FALSE, kProbeDoneEventName));
    if (!done)
        throw CommandError("cannot create the probe's event");
    ResetEvent(done.get());
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    DWORD waited = WAIT_FAILED;
    {
        Hook hook(SetWindowsHookExW(WH_GETMESSAGE, probeHookProc("probeGetMessageHook"),
                                    probeModule(), thread));
        PostMessageW(window, RegisterWindowMessageW(name), 0, 0);
        waited = WaitForSingleObject(done.get(), static_cast<DWORD>(kProbeTimeoutMs * slowness()));
    }
    if (waited != WAIT_OBJECT_0)
        throw CommandError(std::string("the window's thread did not ") + what);
}

} // namespace

ComposeResult composeInWindow(HWND window, const std::wstring& text, bool pending) {
    ProbeShared& s = shared();
    copyInto(s.compose, text);
    s.pending = pending ? 1 : 0;
    s.hadContext = 0;
    s.completed = 0;
    postToProbe(window, kComposeMessageName, "compose");
    return {s.hadContext != 0, s.completed != 0};
}

void postDpiChange(HWND window, int dpi, const RECT& suggested) {
    ProbeShared& s = shared();
    s.dpi = dpi;
    s.suggested = suggested;
    postToProbe(window, kDpiChangeMessageName, "take the dpi change");
}

} // namespace ambrel::e2e
