// e2e-sample: a throwaway window that exercises what the end-to-end harness must be able
// to observe, so that the harness can be proven without the clock itself: a Japanese
// title, a message box whose answer lands in the title, a double-click counter, a tooltip
// and a WAV played through the MCI wave-audio device.
//
//   e2e-sample.exe [--title T] [--msgbox TEXT] [--play WAV]
#include "SampleIds.h"

#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr UINT kShowBox = WM_APP + 1;
constexpr int kCounterId = 100;

struct Options {
    std::wstring title = L"e2e サンプル";
    std::wstring boxText;
    std::wstring wav;
};

Options g_options;
int g_doubleClicks = 0;
HWND g_counter = nullptr;

void setCounterText(int n) {
    std::wstring text = L"ダブルクリック " + std::to_wstring(n) + L" 回";
    SetWindowTextW(g_counter, text.c_str());
}

void play(HWND hwnd) {
    std::wstring open = L"open \"" + g_options.wav + L"\" type waveaudio alias snd";
    MCIERROR err = mciSendStringW(open.c_str(), nullptr, 0, nullptr);
    if (!err)
        err = mciSendStringW(L"play snd", nullptr, 0, nullptr);
    std::wstring title = err ? L"mci error " + std::to_wstring(err) : L"playing";
    SetWindowTextW(hwnd, title.c_str());
}

void addTooltip(HWND owner, HWND tool) {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = (UINT_PTR)tool;
    info.lpszText = const_cast<wchar_t*>(L"ツールチップの試験【設定 7時 5分 0秒】");
    SendMessageW(tip, TTM_ADDTOOLW, 0, (LPARAM)&info);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        g_counter =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 260, 24, hwnd,
                            (HMENU)(UINT_PTR)kCounterId, GetModuleHandleW(nullptr), nullptr);
        setCounterText(0);
        addTooltip(hwnd, g_counter);
        return 0;
    case WM_LBUTTONDBLCLK:
        setCounterText(++g_doubleClicks);
        return 0;
    case kShowBox: {
        int answer = MessageBoxW(hwnd, g_options.boxText.c_str(), L"e2e 確認",
                                 MB_OKCANCEL | MB_ICONINFORMATION);
        std::wstring title = L"answer=" + std::to_wstring(answer);
        SetWindowTextW(hwnd, title.c_str());
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void parseArguments() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring name = argv[i];
        if (name == L"--title")
            g_options.title = argv[i + 1];
        else if (name == L"--msgbox")
            g_options.boxText = argv[i + 1];
        else if (name == L"--play")
            g_options.wav = argv[i + 1];
    }
    LocalFree(argv);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    parseArguments();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = AMBREL_E2E_SAMPLE_CLASS;
    RegisterClassExW(&wc);

    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, g_options.title.c_str(), WS_OVERLAPPEDWINDOW,
                                100, 100, 320, 160, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    if (!g_options.wav.empty())
        play(hwnd);
    if (!g_options.boxText.empty())
        PostMessageW(hwnd, kShowBox, 0, 0);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
