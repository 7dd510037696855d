// What a screen reader and a program that stores file names are told by the system: a window's
// accessible name and role through oleacc, and a file's short (8.3) path.
#pragma once

#include <windows.h>

#include <string>

namespace ambrel::e2e {

// {name, role, role_text} of the window's client object (null name when it has none);
// {available:false} when oleacc gives no object for it.
std::string accessibleJson(HWND window);

// {short}: the file's short path, null when the file system gives none.
std::string shortPathJson(const std::wstring& path);

} // namespace ambrel::e2e
