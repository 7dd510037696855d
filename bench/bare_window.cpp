// The yardstick of the benchmarks: the least a Win32 program can do that shows a window like the
// clock bar, a 140 by 18 pixel popup.
//   bare-window.exe [--repaint | --seconds] [WAV]
// --repaint: a 100 ms timer repaints all of it on every tick, as the clock's tick may (the idle
// CPU yardstick, bench/cpu). --seconds: the least a clock must do, the idle CPU floor: a 100 ms
// timer reads the time of day and repaints the window, with the time, only when the second has
// changed. WAV: opens that file through the MCI wave-audio device before the window shows, as
// the clock does (the start-up yardstick, bench/startup).
#include <windows.h>

#include <mmsystem.h>

#include <cwchar>
#include <string>

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr int kWidth = 140;
constexpr int kHeight = 18;

bool secondsOnly = false; // --seconds
SYSTEMTIME shown{};       // the time the window shows

void onTimer(HWND hwnd) {
    if (secondsOnly) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        if (now.wSecond == shown.wSecond && now.wMinute == shown.wMinute &&
            now.wHour == shown.wHour) {
            return;
        }
        shown = now;
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

void paint(HDC dc) {
    RECT client{0, 0, kWidth, kHeight};
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    if (secondsOnly) {
        wchar_t text[16];
        const int length = std::swprintf(text, 16, L"%02u : %02u %02usec", shown.wHour,
                                         shown.wMinute, shown.wSecond);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 255, 0));
        TextOutW(dc, 4, 2, text, length);
    }
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        onTimer(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        paint(dc);
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
    bool repaint = false;
    for (const std::wstring option : {L"--repaint", L"--seconds"}) {
        if (sound.compare(0, option.size(), option) == 0) {
            repaint = true;
            secondsOnly = option == L"--seconds";
            sound.erase(0, sound.find_first_not_of(L' ', option.size()));
        }
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
