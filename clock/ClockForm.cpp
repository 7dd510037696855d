#include "clock/ClockForm.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/RuntimeError.h"
#include "clock/DisplayText.h"
#include "clock/Palette.h"
#include "clock/Watch.h"

namespace ambrel {

namespace {
constexpr int kPressedImageTop = 300; // below the 270-twip client area: the flat glyph shows
constexpr const char* kExitQuestion = "Ambrel V2 を終了します";

// The steps of one tick, in their order; a RuntimeError leaves the rest of them undone.
void tick(Program& program) {
    Settings& settings = program.settings();
    ClockView& view = program.clockWindow().get();

    settings.alarmInfoText = alarmInfoText(settings.alarmState, settings.alarmHour,
                                           settings.alarmMinute, settings.alarmSecond);
    view.setTooltip(tooltipText(settings.timerInfoText, settings.alarmInfoText, settings.hintText));

    const LocalTime now = program.services().clock.now();
    alarmWatch(program, now.hour, now.minute, now.second);
    alarmRearm(settings, now.second);
    countdownWatch(program, now.hour, now.minute);

    view.setLabelColor(paletteColor(settings.textColorIndex));

    if (settings.displayMode == "T") {
        const DisplayTexts texts = timeFormatTexts(now);
        view.setLabel1(texts.label1);
        view.setLabel4(texts.label4);
    } else if (settings.displayMode == "D") {
        const DisplayTexts texts = dateFormatTexts(now);
        view.setLabel1(texts.label1);
        view.setLabel4(texts.label4);
    } else {
        // A hand-edited file's value: the labels keep their texts for this one tick.
        settings.displayMode = "T";
    }
}

} // namespace

void ClockForm::onTick() {
    // A real modal box dispatches timer messages: ticks behind the failure report must neither
    // act nor report a second time.
    if (failing_) {
        return;
    }
    try {
        tick(program_);
    } catch (const RuntimeError& error) {
        failing_ = true;
        program_.failWithError(error.number());
    }
}

void ClockForm::onLabel2DblClick() {
    std::string& mode = program_.settings().displayMode;
    mode = mode == "T" ? "D" : "T";
}

void ClockForm::onLabel2MouseDown(float x, float y) {
    dragActive_ = 1;
    dragStartX_ = x;
    dragStartY_ = y;
}

void ClockForm::onLabel2MouseMove(float x, float y) {
    if (dragActive_ != 1) {
        return;
    }
    ClockView& view = program_.clockWindow().get();
    // Single precision with the edge and the mouse position added first, so that the window ends
    // up on exactly the twips it always did; the named floats round each step (x87 would not).
    const float edgeX = view.left() + x;
    const float edgeY = view.top() + y;
    const float left = edgeX - dragStartX_;
    const float top = edgeY - dragStartY_;
    view.moveTo(left, top);
}

void ClockForm::onLabel2MouseUp(float, float) {
    dragActive_ = 0;
}

void ClockForm::onImage2MouseDown() {
    program_.clockWindow().get().setImageTop(ImageButton::Image2, kPressedImageTop);
    // On the press, not the release: the dialog opens even if the button is let go elsewhere.
    program_.options().show();
}

void ClockForm::onImage2MouseUp() {
    program_.clockWindow().get().setImageTop(ImageButton::Image2, 0);
}

void ClockForm::onImage1MouseDown() {
    program_.clockWindow().get().setImageTop(ImageButton::Image1, kPressedImageTop);
}

void ClockForm::onImage1MouseUp() {
    // Raised again before the question, so the button does not stay pressed behind the box.
    program_.clockWindow().get().setImageTop(ImageButton::Image1, 0);
    const MessageAnswer answer = program_.services().messages.show(
        kExitQuestion, kExitTitle, MessageButtons::OkCancel, MessageIcon::Information);
    if (answer == MessageAnswer::Ok) {
        program_.unloadClockWindow();
    }
}

void ClockForm::onSessionEnd() {
    program_.endSession();
}

} // namespace ambrel
