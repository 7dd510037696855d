// The processes that run now, from one snapshot of the system's process list.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ambrel::e2e {

struct ProcessEntry {
    DWORD pid;
    DWORD parentPid;
    std::wstring exe;
};

// Nothing when the system gives no snapshot.
std::optional<std::vector<ProcessEntry>> runningProcesses();

// Each running process's executable name by its id; empty without a snapshot.
std::map<DWORD, std::wstring> processNames();

// Executable names compare as Windows compares file names: without regard to case.
bool sameName(const std::wstring& a, const std::wstring& b);

} // namespace ambrel::e2e
