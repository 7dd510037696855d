#pragma once
// comctl32, comdlg32, uxtheme, version and ole32 are loaded the first time the program calls into
// them, not when the process starts. The clock bar needs none of them to show, and comctl32 alone
// brings shell32 and half a dozen other DLLs with it, a third of the clock's start-up under wine.
//
// The functions in `late` stand in for the system's of the same names, so that the calls read as
// the API's; the executable imports none of these DLLs. A function that cannot be found
// answers as the API does when it fails. The user32 functions among them came with Windows 10:
// found by name, they leave the program starting on the older Windows that lack them.

#include <windows.h>

#include <objbase.h>

#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>
#include <winver.h>

namespace ambrel::win32 {

namespace late {
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
// Falls back to DefWindowProcW should comctl32 be missing.
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog);
DWORD CommDlgExtendedError();

HTHEME GetWindowTheme(HWND window);
HRESULT DrawThemeParentBackground(HWND window, HDC dc, RECT* area);
HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, RECT* area, THEMESIZE size,
                         SIZE* result);
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* area,
                            const RECT* clip);

// 0 where the system knows no dpi of a window's own.
UINT GetDpiForWindow(HWND window);
// Falls back to AdjustWindowRectEx, whose frame is the system dpi's.
BOOL AdjustWindowRectExForDpi(RECT* area, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);

HRESULT CoInitializeEx(void* reserved, DWORD model);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID interfaceId,
                         void** object);

DWORD GetFileVersionInfoSizeW(const wchar_t* file, DWORD* handle);
BOOL GetFileVersionInfoW(const wchar_t* file, DWORD handle, DWORD size, void* data);
BOOL VerQueryValueW(const void* block, const wchar_t* subBlock, void** buffer, UINT* size);
} // namespace late

// Loads and initialises comctl32 for whatever needs a common control or the visual style of
// the dialog controls; the first call does the work.
void ensureCommonControls();

} // namespace ambrel::win32
