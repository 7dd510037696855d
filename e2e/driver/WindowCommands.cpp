#include "CommandHandlers.h"
#include "JsonLine.h"
#include "WindowQueries.h"

#include <map>

namespace ambrel::e2e {

namespace {

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
    if (it != ids.end()) {
        return it->second;
    }
    return intArg(name, "button");
}

// Posting WM_COMMAND is what a click on the button ends in; posting rather than sending
// lets the box close while this driver goes on.
void pressButton(HWND dialog, int id, bool send) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) {
        throw CommandError("the window has no control " + std::to_string(id));
    }
    if (send) {
        DWORD_PTR ignored;
        SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, sendTimeoutMs(), &ignored);
    } else {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
}

} // namespace

void cmdWindows(const ArgReader& a, const Output& out) {
    for (HWND hwnd : matchingWindows(WindowFilter(a))) {
        out(windowInfo(hwnd).str());
    }
}

void cmdInfo(const ArgReader& a, const Output& out) {
    out(windowInfo(windowArg(a.at(0, "hwnd"))).str());
}

void cmdChildren(const ArgReader& a, const Output& out) {
    HWND root = windowArg(a.at(0, "hwnd"));
    for (HWND child : descendants(root)) {
        out(childJson(child, root));
    }
}

void cmdText(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    out(JsonLine().add("hwnd", handleNumber(hwnd)).add("text", controlText(hwnd)).str());
}

void cmdSetText(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    const std::wstring text = a.count() > 1 ? a.at(1, "text") : L"";
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, sendTimeoutMs(), &result)) {
        throw CommandError("window does not answer WM_SETTEXT");
    }
    out(JsonLine().add("result", static_cast<long long>(result)).str());
}

void cmdMsgbox(const ArgReader& a, const Output& out) {
    for (HWND box : messageBoxes(a)) {
        out(messageBoxJson(box));
    }
}

void cmdPress(const ArgReader& a, const Output& out) {
    HWND dialog = windowArg(a.at(0, "hwnd"));
    const int id = buttonId(a.at(1, "button id"));
    pressButton(dialog, id, a.flag(L"send"));
    out(JsonLine().add("pressed", id).str());
}

void cmdAnswer(const ArgReader& a, const Output& out) {
    auto button = a.option(L"button");
    if (!button) {
        throw CommandError("answer needs --button");
    }
    const std::vector<HWND> boxes = messageBoxes(a);
    if (boxes.empty()) {
        throw CommandError("no message box matches");
    }
    if (boxes.size() > 1) {
        throw CommandError("more than one message box matches");
    }
    const int id = buttonId(*button);
    HWND control = GetDlgItem(boxes[0], id);
    if (!control || !IsWindowVisible(control)) {
        throw CommandError("the message box has no button " + toUtf8(*button));
    }
    const std::string box = messageBoxJson(boxes[0]);
    pressButton(boxes[0], id, a.flag(L"send"));
    out(JsonLine().add("pressed", id).addRaw("box", box).str());
}

void cmdMessage(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    const auto msg = static_cast<UINT>(number(a.at(1, "message"), "message"));
    const WPARAM w = a.count() > 2 ? static_cast<WPARAM>(number(a.at(2, "wparam"), "wparam")) : 0;
    const LPARAM l = a.count() > 3 ? static_cast<LPARAM>(number(a.at(3, "lparam"), "lparam")) : 0;
    if (a.flag(L"post")) {
        out(JsonLine().add("posted", PostMessageW(hwnd, msg, w, l) != FALSE).str());
        return;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, sendTimeoutMs(), &result)) {
        throw CommandError("window does not answer the message");
    }
    out(JsonLine().add("result", static_cast<long long>(static_cast<LONG_PTR>(result))).str());
}

void cmdClose(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    out(JsonLine().add("posted", PostMessageW(hwnd, WM_CLOSE, 0, 0) != FALSE).str());
}

void cmdForeground(const ArgReader&, const Output& out) {
    HWND hwnd = GetForegroundWindow();
    if (hwnd) {
        out(windowInfo(hwnd).str());
    } else {
        out(JsonLine().addRaw("hwnd", "null").str());
    }
}

void cmdActivate(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    out(JsonLine().add("activated", SetForegroundWindow(hwnd) != FALSE).str());
}

} // namespace ambrel::e2e
