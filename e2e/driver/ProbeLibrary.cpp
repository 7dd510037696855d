// ambrel-e2e-probe.dll: loaded by the driver's window hooks into the program under test, where
// it refuses the creation of one window class (a CBT hook), and composes text with the input
// method in a window of that program's thread or hands the window a dpi change (a GetMessage
// hook).
#include "Probe.h"

#include <imm.h>

#include <cwchar>

using namespace ambrel::e2e;

namespace {

ProbeShared* shared() {
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kProbeMappingName);
    if (mapping == nullptr)
        return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeShared));
    CloseHandle(mapping); // the view keeps the mapping
    return static_cast<ProbeShared*>(view);
}

bool refused(const CREATESTRUCTW& create) {
    const LPCWSTR name = create.lpszClass;
    if (name == nullptr || IS_INTRESOURCE(name))
        return false;
    ProbeShared* s = shared();
    const bool refuse =
        s != nullptr && s->refusedClass[0] != L'\0' && std::wcscmp(name, s->refusedClass) == 0;
    if (s != nullptr)
        UnmapViewOfFile(s);
    return refuse;
}

// What a Japanese input method does when the user converts and confirms: the composition is
// set, then completed into the result string, which the window receives as the input method's
// messages (WM_IME_COMPOSITION with GCS_RESULTSTR), not as typed characters.
void compose(HWND window) {
    ProbeShared* s = shared();
    if (s == nullptr)
        return;
    s->hadContext = 0;
    s->completed = 0;
    HIMC context = ImmGetContext(window);
    if (context != nullptr) {
        s->hadContext = 1;
        ImmSetOpenStatus(context, TRUE);
        const DWORD bytes = static_cast<DWORD>(std::wcslen(s->compose) * sizeof(wchar_t));
        if (ImmSetCompositionStringW(context, SCS_SETSTR, s->compose, bytes, nullptr, 0) &&
            (s->pending || ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0))) {
            s->completed = s->pending ? 0 : 1;
        }
        if (!s->pending)
            ImmSetOpenStatus(context, FALSE);
        ImmReleaseContext(window, context);
    }
    UnmapViewOfFile(s);
}

// What the system sends when a window comes to a monitor of another scale: WM_DPICHANGED with
// the new dpi and a pointer to the rectangle it suggests, in the program's memory. The message
// taken off the queue becomes that one, so the window gets it from its own message loop.
void changeDpi(MSG& message) {
    ProbeShared* s = shared();
    if (s == nullptr)
        return;
    // In the program's heap rather than in this library, which the driver may unhook (and the
    // program unload) before the window has read the rectangle.
    static RECT* const suggested = static_cast<RECT*>(HeapAlloc(GetProcessHeap(), 0, sizeof(RECT)));
    *suggested = s->suggested;
    message.message = WM_DPICHANGED;
    message.wParam = MAKEWPARAM(s->dpi, s->dpi);
    message.lParam = reinterpret_cast<LPARAM>(suggested);
    UnmapViewOfFile(s);
}

void signalDone() {
    HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, kProbeDoneEventName);
    if (done != nullptr) {
        SetEvent(done);
        CloseHandle(done);
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeCbtHook(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_CREATEWND && refused(*reinterpret_cast<CBT_CREATEWNDW*>(l)->lpcs))
        return 1; // the window is not created
    return CallNextHookEx(nullptr, code, w, l);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    probeGetMessageHook(int code, WPARAM w, LPARAM l) {
    static const UINT composeMessage = RegisterWindowMessageW(kComposeMessageName);
    static const UINT dpiChangeMessage = RegisterWindowMessageW(kDpiChangeMessageName);
    auto* message = reinterpret_cast<MSG*>(l);
    if (code == HC_ACTION && w == PM_REMOVE && message->message == composeMessage) {
        message->message = WM_NULL;
        compose(message->hwnd);
        signalDone();
    } else if (code == HC_ACTION && w == PM_REMOVE && message->message == dpiChangeMessage) {
        changeDpi(*message);
        signalDone();
    }
    return CallNextHookEx(nullptr, code, w, l);
}
