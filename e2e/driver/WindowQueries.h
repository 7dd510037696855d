// What the driver reads of other processes' windows: their facts as JSON lines, the windows
// that match a command's filters, and the message boxes among them.
#pragma once

#include "CommandArgs.h"
#include "JsonLine.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ambrel::e2e {

std::wstring className(HWND hwnd);
// GetWindowTextW never sends a message to another process's window, so it cannot hang;
// for controls it only gives the text that the window manager keeps.
std::wstring storedText(HWND hwnd);
// WM_GETTEXT reaches the control's own window procedure, which is the only way to get an
// edit box's contents or a label's current caption from another process.
std::wstring controlText(HWND hwnd);
std::string rectJson(const RECT& r);

JsonLine windowInfo(HWND hwnd);
std::string childJson(HWND child, HWND root);

std::vector<HWND> topLevelWindows();
std::vector<HWND> descendants(HWND parent);

// The filters of `windows` and `msgbox`: --class, --title, --title-contains, --pid, --exe and
// --visible.
struct WindowFilter {
    std::optional<std::wstring> cls, title, titleContains, exe;
    std::optional<DWORD> pid;
    bool visibleOnly = false;

    explicit WindowFilter(const ArgReader& a);
    bool matches(HWND hwnd, const std::map<DWORD, std::wstring>& names) const;
};

std::vector<HWND> matchingWindows(const WindowFilter& filter);

// The visible message boxes among the windows that match the filters.
std::vector<HWND> messageBoxes(const ArgReader& a);
std::string messageBoxJson(HWND box);

} // namespace ambrel::e2e
