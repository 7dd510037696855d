#include "app/win32/WinHelpViewer.h"

#include "app/win32/LateLibraries.h"
#include "app/win32/WideText.h"

#include <windows.h>

#include <cwctype>
#include <string>
#include <vector>

namespace ambrel::win32 {

namespace {

// The version that the manifest lets the program see: Windows 10 and 11 report 10.0 to a
// program that declares them supported, as ours does.
bool windows10OrLater() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExW(&version) && version.dwMajorVersion >= 10;
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return text;
}

// The Windows folder's winhlp32.exe, unless it is missing or is Microsoft's stub, which Vista
// to 8.1 carry until WinHlp32 is downloaded and Windows 10 and 11 for good: a program that
// answers every call with a notice that this help format is not supported. Its version
// resource names it: original file name WINHSTB.EXE, a description that calls it a stub.
bool realViewerInWindowsFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    const std::wstring viewer = std::wstring(folder) + L"\\winhlp32.exe";
    if (GetFileAttributesW(viewer.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    DWORD unused = 0;
    const DWORD size = late::GetFileVersionInfoSizeW(viewer.c_str(), &unused);
    std::vector<BYTE> info(size);
    if (size == 0 || !late::GetFileVersionInfoW(viewer.c_str(), 0, size, info.data())) {
        return true; // no version to tell a stub by: the file is taken as the viewer it is named
    }
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!late::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                              reinterpret_cast<void**>(&translations), &bytes)) {
        return true;
    }
    const auto text = [&info](const Translation& t, const wchar_t* name) {
        wchar_t path[64];
        wsprintfW(path, L"\\StringFileInfo\\%04x%04x\\%s", t.language, t.codePage, name);
        wchar_t* value = nullptr;
        UINT chars = 0;
        return late::VerQueryValueW(info.data(), path, reinterpret_cast<void**>(&value), &chars) &&
                       value != nullptr
                   ? upper(value)
                   : std::wstring();
    };
    for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
        if (text(translations[i], L"OriginalFilename") == L"WINHSTB.EXE" ||
            text(translations[i], L"FileDescription").find(L"STUB") != std::wstring::npos) {
            return false;
        }
    }
    return true;
}

} // namespace

bool WinHelpViewer::available() const {
    return !windows10OrLater() && realViewerInWindowsFolder();
}

void WinHelpViewer::showContents(const std::string& helpFile) {
    WinHelpW(GetActiveWindow(), widen(helpFile).c_str(), HELP_FINDER, 0);
}

} // namespace ambrel::win32
