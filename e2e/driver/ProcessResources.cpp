#include "ProcessResources.h"

#include "Commands.h"
#include "JsonLine.h"
#include "app/win32/Handles.h"

#include <psapi.h>
#include <winternl.h>

#include <vector>

namespace ambrel::e2e {
namespace {

// wine leaves GetGuiResources unimplemented (0 with ERROR_CALL_NOT_IMPLEMENTED): a count of
// 0 must not pass for "no objects".
std::string guiResourceCount(HANDLE process, DWORD which) {
    SetLastError(0);
    const DWORD count = GetGuiResources(process, which);
    if (count == 0 && GetLastError() != 0)
        return "null";
    return std::to_string(count);
}

// Both Windows and wine keep a process's GDI handles in a table that the PEB points to; an
// entry in use has a non-zero object type. The layout is the 32-bit one of that table.
#pragma pack(push, 1)
struct GdiHandleEntry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    unsigned long long userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle table entries are 24 bytes");
constexpr size_t kGdiHandleEntries = 0x10000;
constexpr size_t kPebGdiSharedHandleTable = 0x94;

using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

std::string gdiTableCount(HANDLE process) {
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return "null";
    DWORD table = 0;
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, (const char*)basic.PebBaseAddress + kPebGdiSharedHandleTable,
                           &table, sizeof table, &got) ||
        table == 0)
        return "null";
    std::vector<GdiHandleEntry> entries(kGdiHandleEntries);
    if (!ReadProcessMemory(process, (const void*)(ULONG_PTR)table, entries.data(),
                           entries.size() * sizeof(GdiHandleEntry), &got))
        return "null";
    size_t used = 0;
    for (size_t i = 0; i < got / sizeof(GdiHandleEntry); ++i) {
        if (entries[i].type != 0)
            ++used;
    }
    return std::to_string(used);
}

struct WindowCount {
    DWORD pid;
    long count;
};

BOOL CALLBACK countChild(HWND, LPARAM data) {
    ++reinterpret_cast<WindowCount*>(data)->count;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND hwnd, LPARAM data) {
    auto* windows = reinterpret_cast<WindowCount*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == windows->pid) {
        ++windows->count;
        EnumChildWindows(hwnd, countChild, data);
    }
    return TRUE;
}

} // namespace

std::string processResourcesJson(DWORD pid) {
    const win32::KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process)
        throw CommandError("cannot open process " + std::to_string(pid));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.get(), &memory, sizeof memory))
        throw CommandError("no memory figures for process " + std::to_string(pid));
    WindowCount windows{pid, 0};
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&windows));
    return JsonLine()
        .add("pid", pid)
        .addRaw("gdi", guiResourceCount(process.get(), GR_GDIOBJECTS))
        .addRaw("user", guiResourceCount(process.get(), GR_USEROBJECTS))
        .addRaw("gdi_table", gdiTableCount(process.get()))
        .add("windows", windows.count)
        .add("working_set", static_cast<long long>(memory.WorkingSetSize))
        .add("private_bytes", static_cast<long long>(memory.PagefileUsage))
        .str();
}

} // namespace ambrel::e2e
