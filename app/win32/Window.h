#pragma once
// The base of every top-level window class: one static window procedure that finds the object
// stored at WM_NCCREATE and forwards the message to it.

#include "app/win32/Handles.h"

#include <windows.h>

namespace ambrel::win32 {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // Detaches the object first, so that the messages of the destruction reach no half-destroyed
    // object, then destroys the window.
    virtual ~Window();

    HWND handle() const { return hwnd_; }
    // The dpi the window is laid out at: that of the monitor it was made on or last moved to.
    int dpi() const { return dpi_; }

protected:
    // Registers the class once (by name) and creates the window with this object attached.
    // A window that cannot be made is the classic out-of-memory error (7), raised here so that
    // no program runs on without its window while it holds the single-instance lock.
    void create(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle,
                const wchar_t* title, HWND owner, HBRUSH background = nullptr);
    // As create, for a window of dialog controls that the system's dialog manager runs: it is
    // of a dialog class (its default handling is DefDlgProc), so Tab, the arrows and the focus
    // across activation are the system's, and the message loop hands it its keys.
    void createDialog(const wchar_t* className, DWORD style, DWORD exStyle, const wchar_t* title);
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Sets everything that depends on dpi() anew: the window's size, its fonts, bitmaps and the
    // places of its controls.
    virtual void layOut() = 0;
    // WM_DPICHANGED: the window is laid out at the new dpi and takes the rectangle that the
    // system suggests for it.
    void followDpiChange(WPARAM wParam, LPARAM lParam);
    // Lays the window out again when the monitor it has been placed on has a dpi other than the
    // one it was made at. For a window about to open where the program put it, which Windows
    // may not have told of the change while it was hidden.
    void followMonitorDpi();
    // Sizes the window so that its client area is the layout's at dpi(), keeping its place;
    // returns the outer size in pixels.
    SIZE setClientSize(int widthTwips, int heightTwips);
    // Places the window's top-left corner at a point of the desktop given in twips; size and
    // z-order stay.
    void moveToTwips(float leftTwips, float topTwips);
    // Puts the window into the topmost group or takes it out. A hidden window only keeps the
    // choice: wine would not move it between the groups, and the call would cost the start-up
    // some milliseconds for nothing. showInGroup gives it with the showing.
    void setTopmostGroup(bool topmost);
    void showInGroup();
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return dialog_ ? DefDlgProcW(hwnd_, message, wParam, lParam)
                       : DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    void registerClass(const wchar_t* className, UINT classStyle, HBRUSH background);
    void createWindow(const wchar_t* className, DWORD style, DWORD exStyle, const wchar_t* title,
                      HWND owner);
    // The messages of a window without its object (before WM_NCCREATE, after the detach) get
    // the default handling of its kind.
    template <bool Dialog>
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    bool dialog_ = false;
    bool topmost_ = false;
};

// The instance of the executable.
HINSTANCE instance();

// A window of a system class, made at the default place and size; one that cannot be made is
// the classic out-of-memory error (7), as for the program's own windows.
CreatedWindow createSystemWindow(DWORD exStyle, const wchar_t* className, DWORD style);

// Keyboard navigation (Tab, Enter, Escape) for windows that hold dialog controls.
void addDialogWindow(HWND window);
void removeDialogWindow(HWND window);
bool isDialogMessageForAny(MSG& message);

} // namespace ambrel::win32
