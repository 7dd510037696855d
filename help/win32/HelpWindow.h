#pragma once
// The help window: a resizable top-level window filled by one read-only, scrolling edit control
// that holds the whole help, so that a screen reader reads it as any text. Its title and text
// are the help's, as the build put them into the executable.

#include "app/win32/Handles.h"
#include "app/win32/Window.h"
#include "help/HelpForm.h"
#include "help/HelpView.h"

namespace ambrel::win32 {

class HelpWindow : public Window, public HelpView {
public:
    explicit HelpWindow(HelpForm& form);

    void showInFront() override;

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCreate();
    void layOut() override;
    void onSize(int width, int height);
    LRESULT onControlColor(HDC dc, HWND control);

    HelpForm& form_;
    Font font_;
    HWND text_ = nullptr;
};

} // namespace ambrel::win32
