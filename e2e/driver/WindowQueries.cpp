#include "WindowQueries.h"

#include "ProcessList.h"

#include <algorithm>

namespace ambrel::e2e {

namespace {

long long styleNumber(LONG style) {
    return static_cast<long long>(static_cast<DWORD>(style));
}

long long controlId(HWND control) {
    return static_cast<long long>(static_cast<DWORD>(GetDlgCtrlID(control)));
}

// A rectangle of the screen in the client coordinates of a window.
RECT screenToClient(RECT r, HWND window) {
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

// A message box is a dialog (#32770) whose message text is the static control 0xFFFF.
constexpr int kMessageTextId = 0xFFFF;

bool isMessageBox(HWND hwnd) {
    return className(hwnd) == L"#32770" && GetDlgItem(hwnd, kMessageTextId) != nullptr;
}

std::string buttonJson(HWND button, LONG style) {
    return JsonLine()
        .add("id", controlId(button))
        .add("text", controlText(button))
        .add("hwnd", handleNumber(button))
        .add("default", (style & 0x0F) == BS_DEFPUSHBUTTON)
        .str();
}

bool isIcon(HWND control, const std::wstring& cls, LONG style) {
    return sameName(cls, L"Static") && (style & SS_TYPEMASK) == SS_ICON &&
           SendMessageW(control, STM_GETICON, 0, 0) != 0;
}

} // namespace

std::wstring className(HWND hwnd) {
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

std::wstring storedText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(n, 0)));
    return text;
}

std::wstring controlText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, sendTimeoutMs(),
                             &length)) {
        throw CommandError("window does not answer WM_GETTEXTLENGTH");
    }
    // Twice the room: an ANSI window (wine's help viewer's rich edit) counts characters but
    // fills the buffer with double-byte text, and gives nothing when it does not fit.
    std::wstring text(2 * length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, sendTimeoutMs(), &copied)) {
        throw CommandError("window does not answer WM_GETTEXT");
    }
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::string rectJson(const RECT& r) {
    return JsonLine::array({std::to_string(r.left), std::to_string(r.top), std::to_string(r.right),
                            std::to_string(r.bottom)});
}

JsonLine windowInfo(HWND hwnd) {
    DWORD pid = 0;
    const DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    RECT window{}, client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    OffsetRect(&client, origin.x, origin.y);
    const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    JsonLine line;
    line.add("hwnd", handleNumber(hwnd))
        .add("class", className(hwnd))
        .add("title", storedText(hwnd))
        .add("pid", pid)
        .add("tid", tid)
        .addRaw("rect", rectJson(window))
        .addRaw("client", rectJson(client))
        .add("visible", IsWindowVisible(hwnd) != FALSE)
        .add("enabled", IsWindowEnabled(hwnd) != FALSE)
        .add("topmost", (exStyle & WS_EX_TOPMOST) != 0)
        .add("style", styleNumber(GetWindowLongW(hwnd, GWL_STYLE)))
        .add("exstyle", styleNumber(exStyle))
        .add("owner", handleNumber(GetWindow(hwnd, GW_OWNER)));
    // The keyboard focus of the window's thread, wherever that thread's windows are.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    line.add("focus", GetGUIThreadInfo(tid, &thread) ? handleNumber(thread.hwndFocus) : 0);
    return line;
}

std::string childJson(HWND child, HWND root) {
    RECT r{};
    GetWindowRect(child, &r);
    return JsonLine()
        .add("hwnd", handleNumber(child))
        .add("id", controlId(child))
        .add("class", className(child))
        .add("text", controlText(child))
        .addRaw("rect", rectJson(screenToClient(r, root)))
        .add("visible", IsWindowVisible(child) != FALSE)
        .add("enabled", IsWindowEnabled(child) != FALSE)
        .add("style", styleNumber(GetWindowLongW(child, GWL_STYLE)))
        .add("parent", handleNumber(GetParent(child)))
        .str();
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> found;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

WindowFilter::WindowFilter(const ArgReader& a)
    : cls(a.option(L"class")), title(a.option(L"title")),
      titleContains(a.option(L"title-contains")), exe(a.option(L"exe")),
      visibleOnly(a.flag(L"visible")) {
    if (auto p = a.option(L"pid")) {
        pid = static_cast<DWORD>(number(*p, "pid"));
    }
}

bool WindowFilter::matches(HWND hwnd, const std::map<DWORD, std::wstring>& names) const {
    if (cls && className(hwnd) != *cls) {
        return false;
    }
    if (visibleOnly && !IsWindowVisible(hwnd)) {
        return false;
    }
    const std::wstring text = storedText(hwnd);
    if ((title && text != *title) ||
        (titleContains && text.find(*titleContains) == std::wstring::npos)) {
        return false;
    }
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (pid && owner != *pid) {
        return false;
    }
    if (exe) {
        auto it = names.find(owner);
        return it != names.end() && sameName(it->second, *exe);
    }
    return true;
}

std::vector<HWND> matchingWindows(const WindowFilter& filter) {
    const auto names = processNames();
    std::vector<HWND> result;
    for (HWND hwnd : topLevelWindows()) {
        if (filter.matches(hwnd, names)) {
            result.push_back(hwnd);
        }
    }
    return result;
}

std::vector<HWND> messageBoxes(const ArgReader& a) {
    std::vector<HWND> boxes;
    for (HWND hwnd : matchingWindows(WindowFilter(a))) {
        if (isMessageBox(hwnd) && IsWindowVisible(hwnd)) {
            boxes.push_back(hwnd);
        }
    }
    return boxes;
}

std::string messageBoxJson(HWND box) {
    std::vector<std::string> buttons;
    std::optional<RECT> iconRect;
    for (HWND child : descendants(box)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        const std::wstring cls = className(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (sameName(cls, L"Button")) {
            buttons.push_back(buttonJson(child, style));
        } else if (isIcon(child, cls, style)) {
            RECT r{};
            GetWindowRect(child, &r);
            iconRect = screenToClient(r, box);
        }
    }
    JsonLine line = windowInfo(box);
    line.add("text", controlText(GetDlgItem(box, kMessageTextId)))
        .addRaw("buttons", JsonLine::array(buttons))
        .add("icon", iconRect.has_value());
    if (iconRect) {
        line.addRaw("icon_rect", rectJson(*iconRect));
    }
    return line.str();
}

} // namespace ambrel::e2e
