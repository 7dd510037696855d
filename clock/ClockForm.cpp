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

    view.setTextColor(paletteColor(settings.textColorIndex));

    if (settings.displayMode == "T") {
        const DisplayTexts texts = timeFormatTexts(now);
        view.setMainText(texts.mainText);
        view.setSecondText(texts.secondText);
    } else if (settings.displayMode == "D") {
        const DisplayTexts texts = dateFormatTexts(now);
        view.setMainText(texts.mainText);
        view.setSecondText(texts.secondText);
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

void ClockForm::onDisplayDoubleClick() {
    std::string& mode = program_.settings().displayMode;
    mode = mode == "T" ? "D" : "T";
}

void ClockForm::onDisplayMouseDown(float x, float y) {
    dragActive_ = 1;
    dragStartX_ = x;
    dragStartY_ = y;
}

void ClockForm::onDisplayMouseMove(float x, float y) {
    if (dragActive_ != 1) {
        return;
    }
    ClockView& view = program_.clockWindow().get();
    // Single precision with the edge and the mouse position added first, so that a drag ends on
    // the same twips on every machine; the named floats round each step (x87 would not).
    const float edgeX = view.left() + x;
    const float edgeY = view.top() + y;
    const float left = edgeX - dragStartX_;
    const float top = edgeY - dragStartY_;
    view.moveTo(left, top);
}

void ClockForm::onDisplayMouseUp(float, float) {
    dragActive_ = 0;
}

void ClockForm::onOptionsButtonDown() {
    program_.clockWindow().get().setImageTop(ImageButton::Options, kPressedImageTop);
    // On the press, not the release: the dialog opens even if the button is let go elsewhere.
    program_.options().show();
}

void ClockForm::onOptionsButtonUp() {
    program_.clockWindow().get().setImageTop(ImageButton::Options, 0);
}

void ClockForm::onExitButtonDown() {
    program_.clockWindow().get().setImageTop(ImageButton::Exit, kPressedImageTop);
}

void ClockForm::onExitButtonUp() {
    // Raised again before the question, so the button does not stay pressed behind the box.
    program_.clockWindow().get().setImageTop(ImageButton::Exit, 0);
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
