#include "app/win32/LateLibraries.h"

#include <cderr.h>

namespace ambrel::win32 {

namespace {

// A library loaded here stays for the life of the process, as a statically imported one would:
// windows of its classes live until the end, and the process ends without unloading anything.
HMODULE comctl32() {
    static const HMODULE library = LoadLibraryW(L"comctl32.dll");
    return library;
}
HMODULE comdlg32() {
    static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
    return library;
}
HMODULE uxtheme() {
    static const HMODULE library = LoadLibraryW(L"uxtheme.dll");
    return library;
}
HMODULE user32() {
    static const HMODULE library = GetModuleHandleW(L"user32.dll");
    return library;
}
HMODULE ole32() {
    static const HMODULE library = LoadLibraryW(L"ole32.dll");
    return library;
}
HMODULE version() {
    static const HMODULE library = LoadLibraryW(L"version.dll");
    return library;
}

// The address of `name` in `library` as a pointer to `Function` (the system's declaration, so
// that the calling convention and the parameters are the API's), or null.
template <class Function> Function* find(HMODULE library, const char* name) {
    if (library == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

} // namespace

namespace late {

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    static const auto function =
        find<decltype(::InitCommonControlsEx)>(comctl32(), "InitCommonControlsEx");
    return function != nullptr && function(controls);
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    static const auto function =
        find<decltype(::SetWindowSubclass)>(comctl32(), "SetWindowSubclass");
    return function != nullptr && function(window, procedure, id, data);
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    static const auto function =
        find<decltype(::RemoveWindowSubclass)>(comctl32(), "RemoveWindowSubclass");
    return function != nullptr && function(window, procedure, id);
}

LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const auto function = find<decltype(::DefSubclassProc)>(comctl32(), "DefSubclassProc");
    return function != nullptr ? function(window, message, wParam, lParam)
                               : DefWindowProcW(window, message, wParam, lParam);
}

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog) {
    static const auto function = find<decltype(::GetOpenFileNameW)>(comdlg32(), "GetOpenFileNameW");
    return function != nullptr && function(dialog);
}

DWORD CommDlgExtendedError() {
    static const auto function =
        find<decltype(::CommDlgExtendedError)>(comdlg32(), "CommDlgExtendedError");
    // Without comdlg32 no dialog was shown: a failure, not a cancel.
    return function != nullptr ? function() : CDERR_INITIALIZATION;
}

HTHEME GetWindowTheme(HWND window) {
    static const auto function = find<decltype(::GetWindowTheme)>(uxtheme(), "GetWindowTheme");
    return function != nullptr ? function(window) : nullptr;
}

HRESULT DrawThemeParentBackground(HWND window, HDC dc, RECT* area) {
    static const auto function =
        find<decltype(::DrawThemeParentBackground)>(uxtheme(), "DrawThemeParentBackground");
    return function != nullptr ? function(window, dc, area) : E_NOTIMPL;
}

HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, RECT* area, THEMESIZE size,
                         SIZE* result) {
    static const auto function = find<decltype(::GetThemePartSize)>(uxtheme(), "GetThemePartSize");
    return function != nullptr ? function(theme, dc, part, state, area, size, result) : E_NOTIMPL;
}

HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* area,
                            const RECT* clip) {
    static const auto function =
        find<decltype(::DrawThemeBackground)>(uxtheme(), "DrawThemeBackground");
    return function != nullptr ? function(theme, dc, part, state, area, clip) : E_NOTIMPL;
}

UINT GetDpiForWindow(HWND window) {
    static const auto function = find<decltype(::GetDpiForWindow)>(user32(), "GetDpiForWindow");
    return function != nullptr ? function(window) : 0;
}

BOOL AdjustWindowRectExForDpi(RECT* area, DWORD style, BOOL menu, DWORD exStyle, UINT dpi) {
    static const auto function =
        find<decltype(::AdjustWindowRectExForDpi)>(user32(), "AdjustWindowRectExForDpi");
    return function != nullptr ? function(area, style, menu, exStyle, dpi)
                               : AdjustWindowRectEx(area, style, menu, exStyle);
}

HRESULT CoInitializeEx(void* reserved, DWORD model) {
    static const auto function = find<decltype(::CoInitializeEx)>(ole32(), "CoInitializeEx");
    return function != nullptr ? function(reserved, model) : E_NOTIMPL;
}

void CoUninitialize() {
    static const auto function = find<decltype(::CoUninitialize)>(ole32(), "CoUninitialize");
    if (function != nullptr) {
        function();
    }
}

HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID interfaceId,
                         void** object) {
    static const auto function = find<decltype(::CoCreateInstance)>(ole32(), "CoCreateInstance");
    return function != nullptr ? function(classId, outer, context, interfaceId, object) : E_NOTIMPL;
}

DWORD GetFileVersionInfoSizeW(const wchar_t* file, DWORD* handle) {
    static const auto function =
        find<decltype(::GetFileVersionInfoSizeW)>(version(), "GetFileVersionInfoSizeW");
    return function != nullptr ? function(file, handle) : 0;
}

BOOL GetFileVersionInfoW(const wchar_t* file, DWORD handle, DWORD size, void* data) {
    static const auto function =
        find<decltype(::GetFileVersionInfoW)>(version(), "GetFileVersionInfoW");
    return function != nullptr && function(file, handle, size, data);
}

BOOL VerQueryValueW(const void* block, const wchar_t* subBlock, void** buffer, UINT* size) {
    static const auto function = find<decltype(::VerQueryValueW)>(version(), "VerQueryValueW");
    return function != nullptr && function(block, subBlock, buffer, size);
}

} // namespace late

void ensureCommonControls() {
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return late::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
}

} // namespace ambrel::win32
