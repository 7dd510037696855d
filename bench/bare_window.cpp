// The yardstick of the benchmarks: the least a Win32 program can do that shows a window like the
// clock bar, a 140 by 18 pixel popup.
//   bare-window.exe [--repaint] [WAV]
// --repaint: a 100 ms timer repaints all of it on every tick, as the clock's tick may (the idle
// CPU yardstick, bench/cpu). WAV: opens that file through the MCI wave-audio device before the
// window shows, as the clock does (the start-up yardstick, bench/startup).
#include <windows.h>

#include <mmsystem.h>

#include <string>

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr int kWidth = 140;
constexpr int kHeight = 18;

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client{0, 0, kWidth, kHeight};
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    std::wstring sound = commandLine != nullptr ? commandLine : L"";
    const std::wstring repaintOption = L"--repaint";
    const bool repaint = sound.compare(0, repaintOption.size(), repaintOption) == 0;
    if (repaint) {
        sound.erase(0, sound.find_first_not_of(L' ', repaintOption.size()));
    }
    if (!sound.empty()) {
        MCI_OPEN_PARMSW device{};
        device.lpstrDeviceType = L"waveaudio";
        device.lpstrElementName = sound.c_str();
        if (mciSendCommandW(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&device)) != 0) {
            return 2; // the comparison would be unfair: say so by the exit code
        }
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"Bare",
                                WS_POPUP | WS_VISIBLE, 100, 100, kWidth, kHeight, nullptr, nullptr,
                                instance, nullptr);
    UpdateWindow(hwnd);
    if (repaint) {
        SetTimer(hwnd, kTimer, 100, nullptr);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
