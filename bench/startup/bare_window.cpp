// The yardstick for the clock's start-up: the least a Win32 program can do that shows a window
// like the clock bar, a 140 by 18 pixel popup. Given a WAV file, it first opens it through the
// MCI wave-audio device, as the clock does before it shows.
//   bare-window.exe [WAV]
#include <windows.h>

#include <mmsystem.h>

namespace {

constexpr int kWidth = 140;
constexpr int kHeight = 18;

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
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
    MCI_OPEN_PARMSW sound{};
    if (commandLine != nullptr && commandLine[0] != L'\0') {
        sound.lpstrDeviceType = L"waveaudio";
        sound.lpstrElementName = commandLine;
        if (mciSendCommandW(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&sound)) != 0) {
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
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
