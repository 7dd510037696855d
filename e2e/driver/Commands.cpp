#include "Commands.h"

#include "Accessibility.h"
#include "ClockControl.h"
#include "JsonLine.h"
#include "ProbeClient.h"
#include "ProcessResources.h"
#include "RemoteMemory.h"
#include "VersionInfo.h"

#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <optional>
#include <set>

namespace ambrel::e2e {
namespace {

// Another process may be stuck in a modal loop or busy; a hung target must fail the
// command, not freeze the whole test session.
constexpr UINT kSendTimeoutMs = 3000;

class ArgReader {
public:
    explicit ArgReader(const Args& args) {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::wstring& a = args[i];
            if (a.size() > 2 && a.compare(0, 2, L"--") == 0) {
                std::wstring name = a.substr(2);
                bool hasValue = i + 1 < args.size() && !isFlag(name);
                options_[name] = hasValue ? args[++i] : L"";
            } else {
                positional_.push_back(a);
            }
        }
    }
    const std::wstring& at(size_t i, const char* what) const {
        if (i >= positional_.size())
            throw CommandError(std::string("missing argument: ") + what);
        return positional_[i];
    }
    size_t count() const { return positional_.size(); }
    std::optional<std::wstring> option(const wchar_t* name) const {
        auto it = options_.find(name);
        if (it == options_.end())
            return std::nullopt;
        return it->second;
    }
    bool flag(const wchar_t* name) const { return options_.count(name) != 0; }

private:
    static bool isFlag(const std::wstring& name) {
        static const std::set<std::wstring> flags = {L"post", L"send",    L"visible", L"dump",
                                                     L"all",  L"pending", L"frozen"};
        return flags.count(name) != 0;
    }
    std::vector<std::wstring> positional_;
    std::map<std::wstring, std::wstring> options_;
};

long long number(const std::wstring& text, const char* what) {
    wchar_t* end = nullptr;
    long long value = std::wcstoll(text.c_str(), &end, 0);
    if (text.empty() || *end != L'\0')
        throw CommandError(std::string("not a number for ") + what + ": " + toUtf8(text));
    return value;
}

HWND windowArg(const std::wstring& text) {
    HWND hwnd = (HWND)(UINT_PTR)number(text, "window handle");
    if (!IsWindow(hwnd))
        throw CommandError("no such window: " + toUtf8(text));
    return hwnd;
}

std::wstring className(HWND hwnd) {
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

// GetWindowTextW never sends a message to another process's window, so it cannot hang;
// for controls it only gives the text that the window manager keeps.
std::wstring storedText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(n + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(std::max(n, 0));
    return text;
}

// WM_GETTEXT reaches the control's own window procedure, which is the only way to get an
// edit box's contents or a label's current caption from another process.
std::wstring controlText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length))
        throw CommandError("window does not answer WM_GETTEXTLENGTH");
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, (LPARAM)text.data(), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &copied))
        throw CommandError("window does not answer WM_GETTEXT");
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::string rectJson(const RECT& r) {
    return JsonLine::array({std::to_string(r.left), std::to_string(r.top), std::to_string(r.right),
                            std::to_string(r.bottom)});
}

std::map<DWORD, std::wstring> processNames() {
    std::map<DWORD, std::wstring> names;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return names;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry))
        names[entry.th32ProcessID] = entry.szExeFile;
    CloseHandle(snap);
    return names;
}

bool sameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

JsonLine windowInfo(HWND hwnd) {
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    RECT window{}, client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    OffsetRect(&client, origin.x, origin.y);
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    JsonLine line;
    line.add("hwnd", (long long)(UINT_PTR)hwnd)
        .add("class", className(hwnd))
        .add("title", storedText(hwnd))
        .add("pid", pid)
        .add("tid", tid)
        .addRaw("rect", rectJson(window))
        .addRaw("client", rectJson(client))
        .add("visible", IsWindowVisible(hwnd) != FALSE)
        .add("enabled", IsWindowEnabled(hwnd) != FALSE)
        .add("topmost", (exStyle & WS_EX_TOPMOST) != 0)
        .add("style", (long long)(DWORD)style)
        .add("exstyle", (long long)(DWORD)exStyle)
        .add("owner", (long long)(UINT_PTR)GetWindow(hwnd, GW_OWNER));
    // The keyboard focus of the window's thread, wherever that thread's windows are.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    line.add("focus", GetGUIThreadInfo(tid, &thread) ? (long long)(UINT_PTR)thread.hwndFocus : 0);
    return line;
}

struct WindowFilter {
    std::optional<std::wstring> cls, title, titleContains, exe;
    std::optional<DWORD> pid;
    bool visibleOnly = false;

    explicit WindowFilter(const ArgReader& a) {
        cls = a.option(L"class");
        title = a.option(L"title");
        titleContains = a.option(L"title-contains");
        exe = a.option(L"exe");
        if (auto p = a.option(L"pid"))
            pid = (DWORD)number(*p, "pid");
        visibleOnly = a.flag(L"visible");
    }

    bool matches(HWND hwnd, const std::map<DWORD, std::wstring>& names) const {
        if (cls && className(hwnd) != *cls)
            return false;
        if (visibleOnly && !IsWindowVisible(hwnd))
            return false;
        std::wstring text = storedText(hwnd);
        if (title && text != *title)
            return false;
        if (titleContains && text.find(*titleContains) == std::wstring::npos)
            return false;
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (pid && owner != *pid)
            return false;
        if (exe) {
            auto it = names.find(owner);
            if (it == names.end() || !sameName(it->second, *exe))
                return false;
        }
        return true;
    }
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM list) {
    ((std::vector<HWND>*)list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> found;
    EnumWindows(collectWindow, (LPARAM)&found);
    return found;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectWindow, (LPARAM)&found);
    return found;
}

std::vector<HWND> matchingWindows(const WindowFilter& filter) {
    auto names = processNames();
    std::vector<HWND> result;
    for (HWND hwnd : topLevelWindows())
        if (filter.matches(hwnd, names))
            result.push_back(hwnd);
    return result;
}

std::string childJson(HWND child, HWND root) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, root, (POINT*)&r, 2);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    JsonLine line;
    line.add("hwnd", (long long)(UINT_PTR)child)
        .add("id", (long long)(DWORD)GetDlgCtrlID(child))
        .add("class", className(child))
        .add("text", controlText(child))
        .addRaw("rect", rectJson(r))
        .add("visible", IsWindowVisible(child) != FALSE)
        .add("enabled", IsWindowEnabled(child) != FALSE)
        .add("style", (long long)(DWORD)style)
        .add("parent", (long long)(UINT_PTR)GetParent(child));
    return line.str();
}

// A message box is a dialog (#32770) whose message text is the static control 0xFFFF.
bool isMessageBox(HWND hwnd) {
    return className(hwnd) == L"#32770" && GetDlgItem(hwnd, 0xFFFF) != nullptr;
}

std::string messageBoxJson(HWND box) {
    std::vector<std::string> buttons;
    bool icon = false;
    RECT iconRect{};
    for (HWND child : descendants(box)) {
        std::wstring cls = className(child);
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (!IsWindowVisible(child))
            continue;
        if (sameName(cls, L"Button")) {
            JsonLine b;
            b.add("id", (long long)(DWORD)GetDlgCtrlID(child))
                .add("text", controlText(child))
                .add("hwnd", (long long)(UINT_PTR)child)
                .add("default", (style & 0x0F) == BS_DEFPUSHBUTTON);
            buttons.push_back(b.str());
        } else if (sameName(cls, L"Static") && (style & SS_TYPEMASK) == SS_ICON &&
                   SendMessageW(child, STM_GETICON, 0, 0) != 0) {
            icon = true;
            GetWindowRect(child, &iconRect);
            MapWindowPoints(nullptr, box, (POINT*)&iconRect, 2);
        }
    }
    JsonLine line = windowInfo(box);
    line.add("text", controlText(GetDlgItem(box, 0xFFFF)))
        .addRaw("buttons", JsonLine::array(buttons))
        .add("icon", icon);
    if (icon)
        line.addRaw("icon_rect", rectJson(iconRect));
    return line.str();
}

std::vector<HWND> messageBoxes(const ArgReader& a) {
    std::vector<HWND> boxes;
    for (HWND hwnd : matchingWindows(WindowFilter(a)))
        if (isMessageBox(hwnd) && IsWindowVisible(hwnd))
            boxes.push_back(hwnd);
    return boxes;
}

int buttonId(const std::wstring& name) {
    static const std::map<std::wstring, int> ids = {{L"OK", IDOK},
                                                    {L"Cancel", IDCANCEL},
                                                    {L"Abort", IDABORT},
                                                    {L"Retry", IDRETRY},
                                                    {L"Ignore", IDIGNORE},
                                                    {L"Yes", IDYES},
                                                    {L"No", IDNO},
                                                    {L"Close", IDCLOSE},
                                                    {L"Help", IDHELP},
                                                    {L"TryAgain", IDTRYAGAIN},
                                                    {L"Continue", IDCONTINUE}};
    auto it = ids.find(name);
    if (it != ids.end())
        return it->second;
    return (int)number(name, "button");
}

// Posting WM_COMMAND is what a click on the button ends in; posting rather than sending
// lets the box close while this driver goes on.
void pressButton(HWND dialog, int id, bool send) {
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        throw CommandError("the window has no control " + std::to_string(id));
    if (send) {
        DWORD_PTR ignored;
        SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
    } else {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
    }
}

POINT clientToScreen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

INPUT mouseInput(DWORD flags, POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        in.mi.dx = MulDiv(screen.x, 65536, w) + 1;
        in.mi.dy = MulDiv(screen.y, 65536, h) + 1;
    }
    return in;
}

void sendMouse(DWORD flags, POINT screen) {
    INPUT in = mouseInput(flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE, screen);
    SendInput(1, &in, sizeof in);
}

std::pair<DWORD, DWORD> buttonFlags(const std::optional<std::wstring>& name) {
    if (!name || *name == L"left")
        return {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    if (*name == L"right")
        return {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
    if (*name == L"middle")
        return {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP};
    throw CommandError("unknown mouse button");
}

// ---- commands --------------------------------------------------------------------------

void cmdAcp(const ArgReader&, const Output& out) {
    out(JsonLine()
            .add("acp", GetACP())
            .add("oemcp", GetOEMCP())
            .add("lcid", (long long)GetUserDefaultLCID())
            .add("ui_language", (long long)GetUserDefaultUILanguage())
            .str());
}

void cmdDpi(const ArgReader&, const Output& out) {
    HDC screen = GetDC(nullptr);
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    out(JsonLine()
            .add("dpi_x", dpiX)
            .add("dpi_y", dpiY)
            .add("screen", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)})
            .addRaw("work_area", rectJson(work))
            .add("monitors", GetSystemMetrics(SM_CMONITORS))
            .add("virtual_screen",
                 {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)})
            .str());
}

void cmdWindows(const ArgReader& a, const Output& out) {
    for (HWND hwnd : matchingWindows(WindowFilter(a)))
        out(windowInfo(hwnd).str());
}

void cmdInfo(const ArgReader& a, const Output& out) {
    out(windowInfo(windowArg(a.at(0, "hwnd"))).str());
}

void cmdChildren(const ArgReader& a, const Output& out) {
    HWND root = windowArg(a.at(0, "hwnd"));
    for (HWND child : descendants(root))
        out(childJson(child, root));
}

void cmdText(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    out(JsonLine().add("hwnd", (long long)(UINT_PTR)hwnd).add("text", controlText(hwnd)).str());
}

void cmdSetText(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    std::wstring text = a.count() > 1 ? a.at(1, "text") : L"";
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &result))
        throw CommandError("window does not answer WM_SETTEXT");
    out(JsonLine().add("result", (long long)result).str());
}

void cmdMsgbox(const ArgReader& a, const Output& out) {
    for (HWND box : messageBoxes(a))
        out(messageBoxJson(box));
}

void cmdPress(const ArgReader& a, const Output& out) {
    HWND dialog = windowArg(a.at(0, "hwnd"));
    int id = buttonId(a.at(1, "button id"));
    pressButton(dialog, id, a.flag(L"send"));
    out(JsonLine().add("pressed", id).str());
}

void cmdAnswer(const ArgReader& a, const Output& out) {
    auto button = a.option(L"button");
    if (!button)
        throw CommandError("answer needs --button");
    std::vector<HWND> boxes = messageBoxes(a);
    if (boxes.empty())
        throw CommandError("no message box matches");
    if (boxes.size() > 1)
        throw CommandError("more than one message box matches");
    int id = buttonId(*button);
    HWND control = GetDlgItem(boxes[0], id);
    if (!control || !IsWindowVisible(control))
        throw CommandError("the message box has no button " + toUtf8(*button));
    std::string box = messageBoxJson(boxes[0]);
    pressButton(boxes[0], id, a.flag(L"send"));
    out(JsonLine().add("pressed", id).addRaw("box", box).str());
}

std::wstring readRemoteText(RemoteMemory& memory, size_t offset, size_t maxChars) {
    std::vector<wchar_t> buf(maxChars + 1, L'\0');
    memory.read(offset, buf.data(), maxChars * sizeof(wchar_t));
    buf[maxChars] = L'\0';
    return buf.data();
}

// Tooltip texts live in the tooltip control's own process: the tool structures and the
// text buffer have to be in that process's memory for TTM_ENUMTOOLSW and TTM_GETTEXTW.
void cmdTooltip(const ArgReader& a, const Output& out) {
    HWND target = windowArg(a.at(0, "hwnd"));
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    bool targetIsTooltip = className(target) == TOOLTIPS_CLASSW;
    constexpr size_t kTextChars = 4096;
    constexpr size_t kTextOffset = 256;
    RemoteMemory memory(pid, kTextOffset + (kTextChars + 1) * sizeof(wchar_t));

    bool found = false;
    for (HWND tip : topLevelWindows()) {
        DWORD tipPid = 0;
        GetWindowThreadProcessId(tip, &tipPid);
        if (tipPid != pid || className(tip) != TOOLTIPS_CLASSW)
            continue;
        if (targetIsTooltip && tip != target)
            continue;
        DWORD_PTR count = 0;
        SendMessageTimeoutW(tip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count);
        for (DWORD_PTR i = 0; i < count; ++i) {
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            memory.write(0, &info, sizeof info);
            DWORD_PTR ok = 0;
            SendMessageTimeoutW(tip, TTM_ENUMTOOLSW, i, (LPARAM)memory.address(0), SMTO_ABORTIFHUNG,
                                kSendTimeoutMs, &ok);
            if (!ok)
                continue;
            memory.read(0, &info, sizeof info);
            HWND toolWindow = (info.uFlags & TTF_IDISHWND) ? (HWND)info.uId : info.hwnd;
            if (!targetIsTooltip && toolWindow != target)
                continue;
            info.lpszText = (LPWSTR)memory.address(kTextOffset);
            memory.write(0, &info, sizeof info);
            wchar_t empty = L'\0';
            memory.write(kTextOffset, &empty, sizeof empty);
            SendMessageTimeoutW(tip, TTM_GETTEXTW, kTextChars, (LPARAM)memory.address(0),
                                SMTO_ABORTIFHUNG, kSendTimeoutMs, &ok);
            found = true;
            out(JsonLine()
                    .add("tooltip", (long long)(UINT_PTR)tip)
                    .add("tool", (long long)(UINT_PTR)toolWindow)
                    .add("id", (long long)info.uId)
                    .add("flags", (long long)info.uFlags)
                    .addRaw("rect", rectJson(info.rect))
                    .add("text", readRemoteText(memory, kTextOffset, kTextChars))
                    .add("shown", IsWindowVisible(tip) != FALSE)
                    .str());
        }
    }
    if (!found)
        throw CommandError("no tooltip tool for that window");
}

void cmdClick(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    POINT p = clientToScreen(hwnd, (int)number(a.at(1, "x"), "x"), (int)number(a.at(2, "y"), "y"));
    auto [down, up] = buttonFlags(a.option(L"button"));
    int clicks = a.option(L"count") ? (int)number(*a.option(L"count"), "count") : 1;
    SetCursorPos(p.x, p.y);
    sendMouse(0, p);
    for (int i = 0; i < clicks; ++i) {
        sendMouse(down, p);
        sendMouse(up, p);
    }
    out(JsonLine().add("screen", {p.x, p.y}).add("clicks", clicks).str());
}

void cmdDrag(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    POINT from =
        clientToScreen(hwnd, (int)number(a.at(1, "x1"), "x1"), (int)number(a.at(2, "y1"), "y1"));
    POINT to =
        clientToScreen(hwnd, (int)number(a.at(3, "x2"), "x2"), (int)number(a.at(4, "y2"), "y2"));
    int steps = a.option(L"steps") ? (int)number(*a.option(L"steps"), "steps") : 5;
    auto [down, up] = buttonFlags(a.option(L"button"));
    SetCursorPos(from.x, from.y);
    sendMouse(0, from);
    sendMouse(down, from);
    for (int i = 1; i <= steps; ++i) {
        POINT p{from.x + MulDiv(to.x - from.x, i, steps), from.y + MulDiv(to.y - from.y, i, steps)};
        sendMouse(0, p);
        Sleep(20);
    }
    sendMouse(up, to);
    out(JsonLine().add("from", {from.x, from.y}).add("to", {to.x, to.y}).str());
}

void cmdKey(const ArgReader& a, const Output& out) {
    std::vector<INPUT> inputs;
    for (size_t i = 0; i < a.count(); ++i) {
        WORD vk = (WORD)number(a.at(i, "virtual key"), "virtual key");
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        inputs.push_back(in);
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
    out(JsonLine().add("keys", (long long)a.count()).str());
}

void cmdType(const ArgReader& a, const Output& out) {
    std::wstring text = a.at(0, "text");
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = c;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(in);
        in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
    out(JsonLine().add("typed", (long long)text.size()).str());
}

void cmdMessage(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    UINT msg = (UINT)number(a.at(1, "message"), "message");
    WPARAM w = a.count() > 2 ? (WPARAM)number(a.at(2, "wparam"), "wparam") : 0;
    LPARAM l = a.count() > 3 ? (LPARAM)number(a.at(3, "lparam"), "lparam") : 0;
    if (a.flag(L"post")) {
        out(JsonLine().add("posted", PostMessageW(hwnd, msg, w, l) != FALSE).str());
        return;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        throw CommandError("window does not answer the message");
    out(JsonLine().add("result", (long long)(LONG_PTR)result).str());
}

void cmdClose(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    out(JsonLine().add("posted", PostMessageW(hwnd, WM_CLOSE, 0, 0) != FALSE).str());
}

void cmdForeground(const ArgReader&, const Output& out) {
    HWND hwnd = GetForegroundWindow();
    if (hwnd)
        out(windowInfo(hwnd).str());
    else
        out(JsonLine().addRaw("hwnd", "null").str());
}

void cmdActivate(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    out(JsonLine().add("activated", SetForegroundWindow(hwnd) != FALSE).str());
}

void cmdProcs(const ArgReader& a, const Output& out) {
    auto exe = a.option(L"exe");
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        throw CommandError("no process snapshot");
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry)) {
        if (exe && !sameName(entry.szExeFile, *exe))
            continue;
        out(JsonLine()
                .add("pid", entry.th32ProcessID)
                .add("ppid", entry.th32ParentProcessID)
                .add("exe", std::wstring(entry.szExeFile))
                .str());
    }
    CloseHandle(snap);
}

void cmdKill(const ArgReader& a, const Output& out) {
    DWORD pid = (DWORD)number(a.at(0, "pid"), "pid");
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process)
        throw CommandError("cannot open process " + std::to_string(pid));
    BOOL ok = TerminateProcess(process, 1);
    WaitForSingleObject(process, kSendTimeoutMs);
    CloseHandle(process);
    out(JsonLine().add("killed", ok != FALSE).add("pid", pid).str());
}

// Colours of a window's area as they are on the screen (what the user sees, whoever
// painted it): the average, the most frequent colours and, with --dump, every pixel.
void cmdPixels(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    RECT client{};
    GetClientRect(hwnd, &client);
    int x = a.count() > 1 ? (int)number(a.at(1, "x"), "x") : 0;
    int y = a.count() > 2 ? (int)number(a.at(2, "y"), "y") : 0;
    int w = a.count() > 3 ? (int)number(a.at(3, "width"), "width") : client.right - x;
    int h = a.count() > 4 ? (int)number(a.at(4, "height"), "height") : client.bottom - y;
    if (w <= 0 || h <= 0)
        throw CommandError("empty area");
    POINT origin = clientToScreen(hwnd, x, y);

    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();

    const DWORD* px = (const DWORD*)bits;
    std::map<DWORD, long long> counts;
    long long sum[3] = {};
    std::vector<std::string> rows;
    for (int row = 0; row < h; ++row) {
        std::string line;
        for (int col = 0; col < w; ++col) {
            DWORD v = px[row * w + col] & 0xFFFFFF;
            counts[v]++;
            sum[0] += (v >> 16) & 0xFF;
            sum[1] += (v >> 8) & 0xFF;
            sum[2] += v & 0xFF;
            if (a.flag(L"dump")) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "%06lx", (unsigned long)v);
                line += hex;
            }
        }
        if (a.flag(L"dump"))
            rows.push_back(JsonLine::quote(line));
    }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    std::vector<std::pair<long long, DWORD>> ranked;
    for (auto& [colour, n] : counts)
        ranked.push_back({n, colour});
    std::sort(ranked.rbegin(), ranked.rend());
    std::vector<std::string> top;
    for (size_t i = 0; i < ranked.size() && i < 12; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%06lx", (unsigned long)ranked[i].second);
        top.push_back(JsonLine().add("rgb", hex).add("count", ranked[i].first).str());
    }
    long long n = (long long)w * h;
    JsonLine line;
    line.add("origin", {origin.x, origin.y})
        .add("size", {w, h})
        .add("average", {sum[0] / n, sum[1] / n, sum[2] / n})
        .addRaw("colors", JsonLine::array(top));
    if (a.flag(L"dump"))
        line.addRaw("rows", JsonLine::array(rows));
    out(line.str());
}

void cmdResources(const ArgReader& a, const Output& out) {
    out(processResourcesJson((DWORD)number(a.at(0, "pid"), "pid")));
}

void cmdVersion(const ArgReader& a, const Output& out) {
    out(versionInfoJson(a.at(0, "path")));
}

void cmdRefuseWindow(const ArgReader& a, const Output& out) {
    const std::wstring name = a.count() > 0 ? a.at(0, "class") : L"";
    refuseWindowClass(name);
    out(JsonLine().add("refused", toUtf8(name)).str());
}

void cmdCompose(const ArgReader& a, const Output& out) {
    const ComposeResult r =
        composeInWindow(windowArg(a.at(0, "hwnd")), a.at(1, "text"), a.flag(L"pending"));
    out(JsonLine().add("context", r.hadContext).add("completed", r.completed).str());
}

// "2026-12-31" and "23:59:58": a local date and time as the clock is to show it.
SYSTEMTIME localTimeArg(const std::wstring& date, const std::wstring& time) {
    SYSTEMTIME t{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::swscanf(date.c_str(), L"%d-%d-%d", &year, &month, &day) != 3 ||
        std::swscanf(time.c_str(), L"%d:%d:%d", &hour, &minute, &second) != 3)
        throw CommandError("a date and time is YYYY-MM-DD HH:MM:SS");
    t.wYear = (WORD)year;
    t.wMonth = (WORD)month;
    t.wDay = (WORD)day;
    t.wHour = (WORD)hour;
    t.wMinute = (WORD)minute;
    t.wSecond = (WORD)second;
    return t;
}

void cmdClock(const ArgReader& a, const Output& out) {
    const std::wstring& action = a.at(0, "action");
    if (action == L"control") {
        controlClock(a.at(1, "exe"), localTimeArg(a.at(2, "date"), a.at(3, "time")),
                     a.flag(L"frozen"));
    } else if (action == L"set") {
        setClock(localTimeArg(a.at(1, "date"), a.at(2, "time")));
    } else if (action == L"move") {
        moveClock(number(a.at(1, "seconds"), "seconds"));
    } else if (action == L"freeze") {
        freezeClock();
    } else if (action == L"run") {
        runClock();
    } else if (action == L"off") {
        releaseClock();
    } else if (action != L"status") {
        throw CommandError("clock control|set|move|freeze|run|status|off");
    }
    const ClockStatus s = clockStatus();
    wchar_t now[32];
    std::swprintf(now, 32, L"%04u-%02u-%02uT%02u:%02u:%02u.%03u", s.now.wYear, s.now.wMonth,
                  s.now.wDay, s.now.wHour, s.now.wMinute, s.now.wSecond, s.now.wMilliseconds);
    out(JsonLine()
            .add("exe", s.exe)
            .add("now", std::wstring(now))
            .add("frozen", s.frozen)
            .add("pid", s.processId)
            .add("reads", s.reads)
            .add("failure", s.failure)
            .str());
}

void cmdMciError(const ArgReader& a, const Output& out) {
    const auto code = static_cast<MCIERROR>(number(a.at(0, "error"), "error"));
    wchar_t text[MAXERRORLENGTH] = L"";
    if (!mciGetErrorStringW(code, text, MAXERRORLENGTH))
        throw CommandError("MCI knows no text for this error");
    out(JsonLine().add("text", toUtf8(text)).str());
}

void cmdAccessible(const ArgReader& a, const Output& out) {
    out(accessibleJson(windowArg(a.at(0, "hwnd"))));
}

void cmdShortPath(const ArgReader& a, const Output& out) {
    out(shortPathJson(a.at(0, "path")));
}

void cmdPing(const ArgReader&, const Output& out) {
    out(JsonLine().add("pong", true).str());
}

} // namespace

const char* usage() {
    return "acp | dpi | ping\n"
           "windows [--class C] [--title T] [--title-contains T] [--pid P] [--exe E] [--visible]\n"
           "info HWND | children HWND | text HWND | settext HWND TEXT\n"
           "msgbox [filters as windows] | press HWND ID [--send]\n"
           "answer --button OK|Cancel|Retry|Yes|No|... [filters as windows] [--send]\n"
           "tooltip HWND (a tool window, or a tooltip control for all its tools)\n"
           "click HWND X Y [--button left|right|middle] [--count N]\n"
           "drag HWND X1 Y1 X2 Y2 [--steps N] | key VK... | type TEXT\n"
           "message HWND MSG [WPARAM [LPARAM]] [--post] | close HWND\n"
           "foreground | activate HWND | procs [--exe E] | kill PID | guires PID\n"
           "pixels HWND [X Y [W H]] [--dump] | version PATH\n"
           "refuse-window [CLASS] (none: lift) | compose HWND TEXT [--pending] | mcierror ERROR\n"
           "clock control EXE YYYY-MM-DD HH:MM:SS [--frozen] | clock set YYYY-MM-DD HH:MM:SS\n"
           "clock move SECONDS | clock freeze | clock run | clock status | clock off\n"
           "accessible HWND | shortpath PATH\n"
           "serve (commands on standard input, one a line, arguments separated by tabs)\n";
}

bool runCommand(const std::wstring& name, const Args& args, const Output& out) {
    using Handler = void (*)(const ArgReader&, const Output&);
    static const std::map<std::wstring, Handler> handlers = {{L"acp", cmdAcp},
                                                             {L"dpi", cmdDpi},
                                                             {L"windows", cmdWindows},
                                                             {L"info", cmdInfo},
                                                             {L"rect", cmdInfo},
                                                             {L"children", cmdChildren},
                                                             {L"text", cmdText},
                                                             {L"settext", cmdSetText},
                                                             {L"msgbox", cmdMsgbox},
                                                             {L"press", cmdPress},
                                                             {L"answer", cmdAnswer},
                                                             {L"tooltip", cmdTooltip},
                                                             {L"click", cmdClick},
                                                             {L"drag", cmdDrag},
                                                             {L"key", cmdKey},
                                                             {L"type", cmdType},
                                                             {L"message", cmdMessage},
                                                             {L"close", cmdClose},
                                                             {L"foreground", cmdForeground},
                                                             {L"activate", cmdActivate},
                                                             {L"procs", cmdProcs},
                                                             {L"kill", cmdKill},
                                                             {L"guires", cmdResources},
                                                             {L"pixels", cmdPixels},
                                                             {L"version", cmdVersion},
                                                             {L"refuse-window", cmdRefuseWindow},
                                                             {L"compose", cmdCompose},
                                                             {L"mcierror", cmdMciError},
                                                             {L"clock", cmdClock},
                                                             {L"accessible", cmdAccessible},
                                                             {L"shortpath", cmdShortPath},
                                                             {L"ping", cmdPing}};
    auto it = handlers.find(name);
    if (it == handlers.end())
        return false;
    it->second(ArgReader(args), out);
    return true;
}

} // namespace ambrel::e2e
