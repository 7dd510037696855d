#pragma once
// The options dialog: a modeless, fixed dialog-style window with its own task-bar button,
// holding real Windows controls (so Tab, arrows, screen readers and the end-to-end tests work on
// them) at the layout's twip positions. It only gathers the controls' events and hands them to
// the OptionsForm; the form reads and sets the controls through OptionsView.

#include "app/win32/Fonts.h"
#include "app/win32/Handles.h"
#include "app/win32/SpokenNames.h"
#include "app/win32/Window.h"
#include "options/OptionsForm.h"
#include "options/OptionsView.h"
#include "options/win32/OptionsLayout.h"

#include <commctrl.h>

namespace ambrel::win32 {

class OptionsWindow : public Window, public OptionsView {
public:
    explicit OptionsWindow(OptionsForm& form);

    std::string text(OptionsText box) const override;
    void setText(OptionsText box, const std::string& text) override;
    bool isChecked(OptionsCheck box) const override;
    void setChecked(OptionsCheck box, bool checked) override;
    int scrollValue(OptionsScroll bar) const override;
    void setScrollValue(OptionsScroll bar, int value) override;
    bool isEnabled(OptionsCommand button) const override;
    void setEnabled(OptionsCommand button, bool enabled) override;
    void selectColorOption(int option) override;
    int selectedColorOption() const override;
    void show() override;

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void layOut() override;
    void onCreate();
    void centreOnWorkArea();
    void onCommand(int id, int code);
    void onHorizontalScroll(HWND bar, int code);
    LRESULT onControlColor(UINT message, HDC dc, HWND control);
    LRESULT onSwatchCustomDraw(const NMCUSTOMDRAW& draw);

    HWND control(int id) const { return GetDlgItem(handle(), id); }
    int colorOptionOf(HWND control) const; // 1..4, 0 for any other control
    void updateSwatchTabStops();

    // The digit filter of the alarm time and countdown minutes boxes sits in front of the edit
    // control's own procedure.
    static LRESULT CALLBACK digitBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR self);

    OptionsForm& form_;
    FontSet<OptionsFont> fonts_;
    // A member, so it goes before the base class destroys the window: the names are taken back
    // while their controls still exist.
    SpokenNames spokenNames_;
    // The button of the countdown pair that was enabled while the dialog was in the background:
    // it takes the focus if the control that had it was disabled meanwhile.
    HWND handOver_ = nullptr;
};

} // namespace ambrel::win32
