#pragma once
// The clock bar: a borderless window with its background bitmap, the two text labels
// (child windows with their texts, drawn by the window so that they look transparent), the display
// area with its tooltip, the two image buttons and the tick timer. Events go to the ClockForm.

#include "app/win32/Handles.h"
#include "app/win32/Tooltip.h"
#include "app/win32/Window.h"
#include "clock/ClockForm.h"
#include "clock/ClockView.h"

#include <functional>
#include <optional>
#include <string>

namespace ambrel::win32 {

class ClockWindow : public Window, public ClockView {
public:
    ClockWindow(ClockForm& form, std::function<void()> close);

    float left() const override;
    float top() const override;
    void moveTo(float leftTwips, float topTwips) override;
    void setTopmost(bool topmost) override;
    void setTextColor(Rgb color) override;
    void setMainText(const std::string& text) override;
    void setSecondText(const std::string& text) override;
    void setTooltip(const std::string& text) override;
    void setImageTop(ImageButton button, int topTwips) override;
    void startTimer() override;
    void show() override;

private:
    enum class Part { None, Display, ExitButton, OptionsButton };
    enum class Press { Down, Up };

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void layOut() override;
    void onCreate();
    void onDpiChanged(WPARAM wParam, LPARAM lParam);
    void createTooltip();
    void onPaint();
    void onDrawItem(const DRAWITEMSTRUCT& item);
    // True when `message` was the mouse's and has been handled.
    bool onMouseMessage(UINT message, LPARAM lParam);
    void onMouseDown(int x, int y);
    void onMouseMove(int x, int y);
    void onMouseUp(int x, int y);
    void onDoubleClick(int x, int y);
    void onCaptureLost();
    // The form's handler of a press or release on `part`, at x, y in client pixels.
    void notifyForm(Part part, Press press, int x, int y);

    // The whole bar into `dc`, as WM_PAINT and WM_PRINTCLIENT want it.
    void paint(HDC dc) const;
    Bitmap scaledBackground() const;
    void drawLabel(HDC dc, HWND label, const RECT& bounds) const;
    Part partAt(int x, int y) const;
    RECT imageRect(ImageButton button) const;
    void setLabelText(HWND label, std::string& current, const std::string& text);

    ClockForm& form_;
    std::function<void()> close_;
    // At the window's dpi.
    Bitmap background_;
    Bitmap optionsButton_;
    Bitmap exitButton_;
    Font labelFont_;
    HWND mainLabel_ = nullptr;
    HWND secondLabel_ = nullptr;
    std::optional<Tooltip> tooltip_;
    RECT displayRect_{};
    COLORREF labelColor_ = RGB(0, 255, 255);
    std::string mainText_ = "12/28(土)";
    std::string secondText_;
    std::wstring tooltipText_;
    int exitButtonTop_ = 0;
    int optionsButtonTop_ = 0;
    Part pressed_ = Part::None;
    POINT pressedAt_{}; // where the press went down, in client pixels
};

} // namespace ambrel::win32
