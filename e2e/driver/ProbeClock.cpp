// The probe's clock: loaded into every process that creates a window while the driver controls
// a program's clock (a global CBT hook), it redirects that one program's imports of
// GetLocalTime, GetSystemTime and GetSystemTimeAsFileTime to the controlled clock before the
// program's first window exists, so before its first tick. Any other process is left alone.
// A program that it meets but cannot redirect is reported through the shared memory, so that
// the harness fails instead of letting the program run on the real clock.
#include "ClockProbe.h"

#include <cstring>
#include <cwchar>

using namespace ambrel::e2e;

namespace {

ClockShared* clockShared = nullptr; // mapped for the process's life once the clock is redirected

// The real functions, taken before the imports are redirected.
void(WINAPI* realGetLocalTime)(SYSTEMTIME*) = nullptr;
void(WINAPI* realGetSystemTime)(SYSTEMTIME*) = nullptr;
void(WINAPI* realGetSystemTimeAsFileTime)(FILETIME*) = nullptr;

LONGLONG realLocalCount() {
    SYSTEMTIME real{};
    realGetLocalTime(&real);
    FILETIME count{};
    SystemTimeToFileTime(&real, &count);
    return fileTimeCount(count);
}

LONGLONG realUtcCount() {
    FILETIME count{};
    realGetSystemTimeAsFileTime(&count);
    return fileTimeCount(count);
}

// The controlled time moved by what the real clock's UTC differs from its local time.
LONGLONG controlledUtcCount() {
    const LONGLONG utc = realUtcCount();
    const LONGLONG local = realLocalCount();
    return controlledLocalTime(*clockShared, local) - (local - utc);
}

void WINAPI controlledGetLocalTime(SYSTEMTIME* time) {
    const LONGLONG now = controlledLocalTime(*clockShared, realLocalCount());
    const FILETIME count = fileTimeOf(now);
    FileTimeToSystemTime(&count, time);
    clockShared->lastRead.store(now);
    InterlockedIncrement(&clockShared->reads);
}

void WINAPI controlledGetSystemTime(SYSTEMTIME* time) {
    const FILETIME now = fileTimeOf(controlledUtcCount());
    FileTimeToSystemTime(&now, time);
}

void WINAPI controlledGetSystemTimeAsFileTime(FILETIME* time) {
    *time = fileTimeOf(controlledUtcCount());
}

struct Redirect {
    const char* name;
    void* replacement;
    void* real;
    bool done;
};

void writeImport(void** slot, void* target) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = target;
    VirtualProtect(slot, sizeof(void*), old, &old);
}

// Walks the executable's import table and points every import of a redirected function at the
// controlled one; by name where the table keeps names, by address otherwise.
void redirectImports(HMODULE exe, Redirect* redirects, size_t count) {
    auto* base = reinterpret_cast<BYTE*>(exe);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return;
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         desc->Name != 0; ++desc) {
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        auto* names = desc->OriginalFirstThunk != 0
                          ? reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk)
                          : nullptr;
        for (size_t i = 0; slots[i].u1.Function != 0; ++i) {
            const char* name = nullptr;
            if (names != nullptr && !IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) {
                name =
                    reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData)->Name;
            }
            auto** slot = reinterpret_cast<void**>(&slots[i].u1.Function);
            for (size_t r = 0; r < count; ++r) {
                const bool match = name != nullptr ? std::strcmp(name, redirects[r].name) == 0
                                                   : *slot == redirects[r].real;
                if (match) {
                    writeImport(slot, redirects[r].replacement);
                    redirects[r].done = true;
                }
            }
        }
    }
}

void fail(const wchar_t* text) {
    std::wcsncpy(clockShared->failure, text, 127);
    clockShared->failure[127] = L'\0';
    InterlockedExchange(&clockShared->failed, 1);
}

bool isControlledProgram(ClockShared& shared) {
    wchar_t path[MAX_PATH] = L"";
    DWORD high = 0;
    DWORD low = 0;
    return shared.exe[0] != L'\0' && GetModuleFileNameW(nullptr, path, MAX_PATH) != 0 &&
           fileIndexOf(path, high, low) && high == shared.fileIndexHigh &&
           low == shared.fileIndexLow;
}

// Once per process: redirects this process's clock when it is the controlled program.
void redirectClockOnce() {
    static LONG checked = 0;
    if (InterlockedExchange(&checked, 1) != 0)
        return;
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kClockMappingName);
    if (mapping == nullptr)
        return;
    auto* shared = static_cast<ClockShared*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ClockShared)));
    CloseHandle(mapping); // the view keeps the mapping
    if (shared == nullptr)
        return;
    if (!isControlledProgram(*shared)) {
        UnmapViewOfFile(shared);
        return;
    }
    clockShared = shared;

    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    realGetLocalTime = reinterpret_cast<decltype(realGetLocalTime)>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetLocalTime")));
    realGetSystemTime = reinterpret_cast<decltype(realGetSystemTime)>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemTime")));
    realGetSystemTimeAsFileTime = reinterpret_cast<decltype(realGetSystemTimeAsFileTime)>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemTimeAsFileTime")));
    if (realGetLocalTime == nullptr || realGetSystemTime == nullptr ||
        realGetSystemTimeAsFileTime == nullptr) {
        fail(L"kernel32 lacks a time function");
        return;
    }
    // The library must stay while the program's imports point into it.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&redirectClockOnce), &self);

    Redirect redirects[] = {
        {"GetLocalTime", reinterpret_cast<void*>(&controlledGetLocalTime),
         reinterpret_cast<void*>(realGetLocalTime), false},
        {"GetSystemTime", reinterpret_cast<void*>(&controlledGetSystemTime),
         reinterpret_cast<void*>(realGetSystemTime), false},
        {"GetSystemTimeAsFileTime", reinterpret_cast<void*>(&controlledGetSystemTimeAsFileTime),
         reinterpret_cast<void*>(realGetSystemTimeAsFileTime), false},
    };
    redirectImports(GetModuleHandleW(nullptr), redirects, sizeof redirects / sizeof *redirects);
    if (!redirects[0].done) {
        fail(L"the program imports no GetLocalTime");
        return;
    }
    InterlockedExchange(&clockShared->processId, static_cast<LONG>(GetCurrentProcessId()));
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeClockHook(int code, WPARAM w, LPARAM l) {
    redirectClockOnce();
    return CallNextHookEx(nullptr, code, w, l);
}
