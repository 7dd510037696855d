#pragma once
// What the options dialog's core needs of the platform dialog: the state of its controls.
// Setting a control's state from here never raises that control's own event; the core calls
// its handler itself where the dialog's behaviour needs it.

#include <string>

namespace ambrel {

enum class OptionsText {
    SoundFileBox,
    AlarmHourBox,
    AlarmMinuteBox,
    AlarmSecondBox,
    CountdownMinutesBox,
    AlarmMessageBox,
    CountdownMessageBox,
};
enum class OptionsCheck { KeepOnTopCheck, AlarmOnCheck };
enum class OptionsScroll { CountdownMinutesBar, AlarmHourBar, AlarmMinuteBar, AlarmSecondBar };
enum class OptionsCommand { StartButton, StopButton };

class OptionsView {
public:
    virtual ~OptionsView() = default;

    virtual std::string text(OptionsText box) const = 0;
    virtual void setText(OptionsText box, const std::string& text) = 0;

    virtual bool isChecked(OptionsCheck box) const = 0;
    virtual void setChecked(OptionsCheck box, bool checked) = 0;

    // The bar's value; setting it clamps to the bar's range.
    virtual int scrollValue(OptionsScroll bar) const = 0;
    virtual void setScrollValue(OptionsScroll bar, int value) = 0;

    virtual bool isEnabled(OptionsCommand button) const = 0;
    virtual void setEnabled(OptionsCommand button, bool enabled) = 0;

    // Selects colour swatch 1-4; 0 selects none.
    virtual void selectColorOption(int option) = 0;
    virtual int selectedColorOption() const = 0;

    // Makes the dialog visible and brings it forward.
    virtual void show() = 0;
};

} // namespace ambrel
