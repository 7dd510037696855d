#include "ProcessList.h"

#include "app/win32/Handles.h"

#include <tlhelp32.h>

namespace ambrel::e2e {

std::optional<std::vector<ProcessEntry>> runningProcesses() {
    const win32::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::vector<ProcessEntry> processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok;
         ok = Process32NextW(snapshot.get(), &entry)) {
        processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    }
    return processes;
}

std::map<DWORD, std::wstring> processNames() {
    std::map<DWORD, std::wstring> names;
    for (const ProcessEntry& process : runningProcesses().value_or(std::vector<ProcessEntry>{})) {
        names[process.pid] = process.exe;
    }
    return names;
}

bool sameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

} // namespace ambrel::e2e
