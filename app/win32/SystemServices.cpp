#include "app/win32/SystemServices.h"

#include "app/win32/LateLibraries.h"
#include "app/win32/Twips.h"
#include "app/win32/WideText.h"

#include <windows.h>

namespace ambrel::win32 {

MessageAnswer SystemMessageBoxes::show(const std::string& text, const std::string& title,
                                       MessageButtons buttons, MessageIcon icon) {
    UINT type = 0;
    switch (buttons) {
    case MessageButtons::Ok:
        type |= MB_OK;
        break;
    case MessageButtons::OkCancel:
        type |= MB_OKCANCEL | MB_DEFBUTTON1;
        break;
    case MessageButtons::RetryCancel:
        type |= MB_RETRYCANCEL | MB_DEFBUTTON1;
        break;
    }
    switch (icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Information:
        type |= MB_ICONINFORMATION;
        break;
    case MessageIcon::Warning:
        type |= MB_ICONEXCLAMATION;
        break;
    }
    // Task-modal: every window of the program refuses input until the box is answered, while
    // the clock's timer keeps being dispatched behind it.
    type |= MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST;
    // The box's buttons in the visual style, as in every other window of the program.
    ensureCommonControls();
    const int answer = MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), type);
    switch (answer) {
    case IDOK:
        return MessageAnswer::Ok;
    case IDRETRY:
        return MessageAnswer::Retry;
    default:
        return MessageAnswer::Cancel;
    }
}

void SystemBeeper::beep() {
    MessageBeep(MB_OK);
}

LocalTime SystemClock::now() const {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    LocalTime result;
    result.year = time.wYear;
    result.month = time.wMonth;
    result.day = time.wDay;
    result.weekday = time.wDayOfWeek;
    result.hour = time.wHour;
    result.minute = time.wMinute;
    result.second = time.wSecond;
    return result;
}

int64_t SystemSteadyClock::milliseconds() const {
    return static_cast<int64_t>(GetTickCount64());
}

void SystemSteadyClock::sleep(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

float SystemScreen::widthTwips() const {
    return pixelsToTwips(GetSystemMetrics(SM_CXSCREEN), screenDpi());
}

float SystemScreen::heightTwips() const {
    return pixelsToTwips(GetSystemMetrics(SM_CYSCREEN), screenDpi());
}

namespace {

struct GatheredMonitors {
    std::vector<TwipsArea> monitors;
    int dpi;
};

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT bounds, LPARAM data) {
    auto& gathered = *reinterpret_cast<GatheredMonitors*>(data);
    gathered.monitors.push_back(
        {pixelsToTwips(bounds->left, gathered.dpi), pixelsToTwips(bounds->top, gathered.dpi),
         pixelsToTwips(bounds->right, gathered.dpi), pixelsToTwips(bounds->bottom, gathered.dpi)});
    return TRUE;
}

} // namespace

std::vector<TwipsArea> SystemScreen::monitorsTwips() const {
    GatheredMonitors gathered{{}, screenDpi()};
    // A failure leaves the list empty, and the core falls back to the primary screen.
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&gathered));
    return gathered.monitors;
}

std::string WindowsSystemFiles::windowsFolder() const {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? narrow(folder) : std::string();
}

bool WindowsSystemFiles::fileExists(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void ProcessExit::endProgram() {
    ExitProcess(0);
}

} // namespace ambrel::win32
