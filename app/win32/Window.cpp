#include "app/win32/Window.h"

#include "app/win32/FatalError.h"
#include "app/win32/LateLibraries.h"
#include "app/win32/Twips.h"
#include "resources/resource.h"

#include <algorithm>
#include <vector>

namespace ambrel::win32 {

namespace {
std::vector<HWND>& dialogWindows() {
    static std::vector<HWND> windows;
    return windows;
}
} // namespace

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

CreatedWindow createSystemWindow(DWORD exStyle, const wchar_t* className, DWORD style) {
    CreatedWindow window(CreateWindowExW(exStyle, className, nullptr, style, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                         nullptr, instance(), nullptr));
    if (window == nullptr) {
        throw RuntimeError(kOutOfMemory);
    }
    return window;
}

Window::~Window() {
    if (hwnd_ != nullptr) {
        removeDialogWindow(hwnd_);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Window::create(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle,
                    const wchar_t* title, HWND owner, HBRUSH background) {
    registerClass(className, classStyle, background);
    createWindow(className, style, exStyle, title, owner);
}

void Window::createDialog(const wchar_t* className, DWORD style, DWORD exStyle,
                          const wchar_t* title) {
    dialog_ = true;
    registerClass(className, 0, nullptr);
    createWindow(className, style, exStyle, title, nullptr);
    addDialogWindow(hwnd_);
}

void Window::registerClass(const wchar_t* className, UINT classStyle, HBRUSH background) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance(), className, &existing)) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = dialog_ ? &Window::procedure<true> : &Window::procedure<false>;
    // DefDlgProc keeps its state in these bytes.
    windowClass.cbWndExtra = dialog_ ? DLGWINDOWEXTRA : 0;
    windowClass.hInstance = instance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    windowClass.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(IDI_AMBREL));
    if (RegisterClassExW(&windowClass) == 0) {
        throw RuntimeError(kOutOfMemory);
    }
}

void Window::createWindow(const wchar_t* className, DWORD style, DWORD exStyle,
                          const wchar_t* title, HWND owner) {
    if (CreateWindowExW(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance(),
                        this) == nullptr) {
        // A window refused after WM_NCCREATE is already destroyed; its handle is not ours.
        hwnd_ = nullptr;
        throw RuntimeError(kOutOfMemory);
    }
}

void Window::followDpiChange(WPARAM wParam, LPARAM lParam) {
    dpi_ = HIWORD(wParam);
    layOut();
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::followMonitorDpi() {
    const int monitorDpi = windowDpi(hwnd_);
    if (monitorDpi != dpi_) {
        dpi_ = monitorDpi;
        layOut();
    }
}

SIZE Window::setClientSize(int widthTwips, int heightTwips) {
    RECT window = toPixels({0, 0, widthTwips, heightTwips}, dpi_);
    // The frame at the window's own dpi, as the system draws it on that monitor.
    late::AdjustWindowRectExForDpi(&window, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                                   FALSE, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)),
                                   static_cast<UINT>(dpi_));
    const SIZE outer{window.right - window.left, window.bottom - window.top};
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return outer;
}

void Window::moveToTwips(float leftTwips, float topTwips) {
    SetWindowPos(hwnd_, nullptr, twipsToPixels(leftTwips, screenDpi()),
                 twipsToPixels(topTwips, screenDpi()), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::setTopmostGroup(bool topmost) {
    topmost_ = topmost;
    if (IsWindowVisible(hwnd_)) {
        SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
    }
}

void Window::showInGroup() {
    // Wine leaves the z-order group of a window that is not yet visible as it was, so the group
    // chosen before is given again with the showing.
    SetWindowPos(hwnd_, topmost_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

template <bool Dialog>
LRESULT CALLBACK Window::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window =
            static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        window->dpi_ = windowDpi(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        return Dialog ? DefDlgProcW(hwnd, message, wParam, lParam)
                      : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // The handler may destroy the object (a window that closes itself): nothing of it is
    // touched after handleMessage returns.
    return guardedCall([&] { return window->handleMessage(message, wParam, lParam); });
}

void addDialogWindow(HWND window) {
    dialogWindows().push_back(window);
}

void removeDialogWindow(HWND window) {
    auto& windows = dialogWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool isDialogMessageForAny(MSG& message) {
    for (HWND window : dialogWindows()) {
        if (IsChild(window, message.hwnd) || window == message.hwnd) {
            return IsDialogMessageW(window, &message) != FALSE;
        }
    }
    return false;
}

} // namespace ambrel::win32
