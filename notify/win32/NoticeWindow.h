#pragma once
// The notice: a fixed window of a dialog class with a group box, the "閉じる" button and two
// text labels. Its texts are real static controls, so screen readers and automation read them.

#include "app/win32/Fonts.h"
#include "app/win32/Handles.h"
#include "app/win32/Window.h"
#include "notify/NoticeForm.h"
#include "notify/NoticeView.h"

namespace ambrel::win32 {

class NoticeWindow : public Window, public NoticeView {
public:
    explicit NoticeWindow(NoticeForm& form);

    void moveTo(float leftTwips, float topTwips) override;
    void setTopmost(bool topmost) override;
    void setHeadline(const std::string& text) override;
    void setMessage(const std::string& text) override;
    void show() override;

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void layOut() override;
    void onCreate();
    LRESULT onControlColor(HDC dc, HWND control);

    NoticeForm& form_;
    enum class FontKind { Frame, Button, Label };
    FontSet<FontKind> fonts_;
    HWND groupBox_ = nullptr;
    HWND closeButton_ = nullptr;
    HWND headline_ = nullptr;
    HWND mainLabel_ = nullptr;
};

} // namespace ambrel::win32
