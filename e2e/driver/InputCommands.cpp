#include "CommandHandlers.h"
#include "JsonLine.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace ambrel::e2e {

namespace {

POINT clientToScreen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

// A point of the window's client area given as two arguments from `first` on.
POINT pointArg(const ArgReader& a, HWND hwnd, size_t first, const char* x, const char* y) {
    return clientToScreen(hwnd, intArg(a.at(first, x), x), intArg(a.at(first + 1, y), y));
}

INPUT mouseInput(DWORD flags, POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
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
    if (!name || *name == L"left") {
        return {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    }
    if (*name == L"right") {
        return {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
    }
    if (*name == L"middle") {
        return {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP};
    }
    throw CommandError("unknown mouse button");
}

int countOption(const ArgReader& a, const wchar_t* name, const char* what, int otherwise) {
    const auto value = a.option(name);
    return value ? intArg(*value, what) : otherwise;
}

// A key's press and release: a virtual key's, or with KEYEVENTF_UNICODE a character's.
void addKeyStroke(std::vector<INPUT>& inputs, WORD vk, WORD scan, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    inputs.push_back(in);
    in.ki.dwFlags = flags | KEYEVENTF_KEYUP;
    inputs.push_back(in);
}

void sendInputs(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace

void cmdClick(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    const POINT p = pointArg(a, hwnd, 1, "x", "y");
    auto [down, up] = buttonFlags(a.option(L"button"));
    const int clicks = countOption(a, L"count", "count", 1);
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
    const POINT from = pointArg(a, hwnd, 1, "x1", "y1");
    const POINT to = pointArg(a, hwnd, 3, "x2", "y2");
    const int steps = countOption(a, L"steps", "steps", 5);
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
        const auto vk = static_cast<WORD>(number(a.at(i, "virtual key"), "virtual key"));
        addKeyStroke(inputs, vk, 0, 0);
    }
    sendInputs(inputs);
    out(JsonLine().add("keys", static_cast<long long>(a.count())).str());
}

void cmdType(const ArgReader& a, const Output& out) {
    const std::wstring text = a.at(0, "text");
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        addKeyStroke(inputs, 0, c, KEYEVENTF_UNICODE);
    }
    sendInputs(inputs);
    out(JsonLine().add("typed", static_cast<long long>(text.size())).str());
}

} // namespace ambrel::e2e
