#include "clock/ClockForm.h"

#include "app/Messages.h"
#include "app/Platform.h"
#include "app/ProgramLifetime.h"
#include "app/RuntimeError.h"
#include "app/Settings.h"
#include "clock/DisplayText.h"
#include "clock/Palette.h"
#include "clock/Watch.h"
#include "options/OptionsForm.h"

namespace ambrel {

namespace {
constexpr int kPressedImageTop = 300; // below the 270-twip client area: the flat glyph shows
constexpr const char* kExitQuestion = "Ambrel V2 を終了します";

// The steps of one tick, in their order; a RuntimeError leaves the rest of them undone.
void tick(const ClockNeeds& needs, ClockView& view) {
    Settings& settings = needs.watch.settings;

    settings.alarmInfoText = alarmInfoText(settings.alarmState, settings.alarmHour,
                                           settings.alarmMinute, settings.alarmSecond);
    view.setTooltip(tooltipText(settings.timerInfoText, settings.alarmInfoText, settings.hintText));

    const LocalTime now = needs.clock.now();
    alarmWatch(needs.watch, now.hour, now.minute, now.second);
    alarmRearm(settings, now.second);
    countdownWatch(needs.watch, now.hour, now.minute);

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
        tick(needs_, window_.createdOnUse());
    } catch (const RuntimeError& error) {
        failing_ = true;
        needs_.lifetime.failWithError(error.number());
    }
}

void ClockForm::onDisplayDoubleClick() {
    std::string& mode = needs_.watch.settings.displayMode;
    mode = mode == "T" ? "D" : "T";
}

void ClockForm::onDisplayMouseDown(float x, float y) {
    dragging_ = true;
    dragStartX_ = x;
    dragStartY_ = y;
}

void ClockForm::onDisplayMouseMove(float x, float y) {
    if (!dragging_) {
        return;
    }
    ClockView& view = window_.createdOnUse();
    // Single precision with the edge and the mouse position added first, so that a drag ends on
    // the same twips on every machine; the named floats round each step (x87 would not).
    const float edgeX = view.left() + x;
    const float edgeY = view.top() + y;
    const float left = edgeX - dragStartX_;
    const float top = edgeY - dragStartY_;
    view.moveTo(left, top);
}

void ClockForm::onDisplayMouseUp(float, float) {
    dragging_ = false;
}

void ClockForm::onOptionsButtonDown() {
    window_.createdOnUse().setImageTop(ImageButton::Options, kPressedImageTop);
    // On the press, not the release: the dialog opens even if the button is let go elsewhere.
    needs_.watch.options.show();
}

void ClockForm::onOptionsButtonUp() {
    window_.createdOnUse().setImageTop(ImageButton::Options, 0);
}

void ClockForm::onExitButtonDown() {
    window_.createdOnUse().setImageTop(ImageButton::Exit, kPressedImageTop);
}

void ClockForm::onExitButtonUp() {
    // Raised again before the question, so the button does not stay pressed behind the box.
    window_.createdOnUse().setImageTop(ImageButton::Exit, 0);
    const MessageAnswer answer = needs_.messages.show(
        kExitQuestion, kExitTitle, MessageButtons::OkCancel, MessageIcon::Information);
    if (answer == MessageAnswer::Ok) {
        needs_.lifetime.unloadClockWindow();
    }
}

void ClockForm::onCloseRequest() {
    needs_.lifetime.unloadClockWindow();
}

void ClockForm::onSessionEnd() {
    needs_.lifetime.endSession();
}

} // namespace ambrel
