// What a process holds of the system's resources, for the leak bounds of the end-to-end tests.
#pragma once

#include <windows.h>

#include <string>

namespace ambrel::e2e {

// One JSON line: the GDI and USER object counts as GetGuiResources reports them (null where
// the system does not), the GDI objects found in the process's own handle table, its windows
// (top-level and children) and its memory (working set, private bytes).
std::string processResourcesJson(DWORD pid);

} // namespace ambrel::e2e
