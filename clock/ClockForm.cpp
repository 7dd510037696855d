#include "clock/ClockForm.h"

#include "app/Messages.h"
#include "app/Platform.h"
#include "app/ProgramLifetime.h"
#include "app/RuntimeError.h"
#include "app/Settings.h"
#include "clock/DisplayText.h"
#include "clock/Palette.h"
#include "clock/Placement.h"
#include "clock/Watch.h"
#include "notify/NoticeForm.h"
#include "options/Countdown.h"
#include "options/OptionsForm.h"

namespace ambrel {

namespace {
constexpr int kPressedImageTop = 300; // below the 270-twip client area: the flat glyph shows
} // namespace

// Compared in place, without copies: the comparison runs on every tick.
bool ClockForm::TooltipInputs::sameAs(const Settings& settings, const DynamicValue& countdownInfo,
                                      const DynamicValue& currentHint) const {
    return timerInfo.sameAs(countdownInfo) && alarmState.sameAs(settings.alarmState) &&
           alarmHour == settings.alarmHour && alarmMinute == settings.alarmMinute &&
           alarmSecond == settings.alarmSecond && hint.sameAs(currentHint);
}

bool ClockForm::DisplayInputs::sameAs(const LocalTime& now,
                                      const DisplayFormat& displayMode) const {
    return time.year == now.year && time.month == now.month && time.day == now.day &&
           time.weekday == now.weekday && time.hour == now.hour && time.minute == now.minute &&
           time.second == now.second && mode == displayMode;
}

void ClockForm::tick(ClockView& view) {
    Settings& settings = needs_.watch.settings;
    showTooltip(view);

    const LocalTime now = needs_.clock.now();
    const LocalSecond current = localSecond(now);
    // The first tick has none before it: it finds the alarm in its own second only.
    alarmWatch(needs_.watch, previousTick_.value_or(current - 1), now);
    previousTick_ = current;
    alarmRearm(settings, needs_.watch.suspendedAlarm, now.second);
    countdownWatch(needs_.watch, now);

    // Checked on every tick: an index outside the palette is error 5 at the first tick.
    view.setTextColor(paletteColor(settings.textColorIndex));
    showTexts(view, now);
}

void ClockForm::showTooltip(ClockView& view) {
    const Settings& settings = needs_.watch.settings;
    const DynamicValue& timerInfo = needs_.watch.countdown.infoText;
    if (tooltipFrom_ && tooltipFrom_->sameAs(settings, timerInfo, needs_.hint)) {
        return;
    }
    // The alarm's piece is composed here and nowhere kept: it follows from the alarm's state
    // and time alone.
    const DynamicValue alarmInfo = alarmInfoText(settings.alarmState, settings.alarmHour,
                                                 settings.alarmMinute, settings.alarmSecond);
    view.setTooltip(tooltipText(timerInfo, alarmInfo, needs_.hint));
    tooltipFrom_ = TooltipInputs{timerInfo,
                                 settings.alarmState,
                                 settings.alarmHour,
                                 settings.alarmMinute,
                                 settings.alarmSecond,
                                 needs_.hint};
}

void ClockForm::showTexts(ClockView& view, const LocalTime& now) {
    DisplayFormat& mode = needs_.watch.settings.displayMode;
    if (textsFrom_ && textsFrom_->sameAs(now, mode)) {
        return;
    }
    DisplayInputs inputs{now, mode};
    if (mode.isTime()) {
        const DisplayTexts texts = timeFormatTexts(now);
        view.setMainText(texts.mainText);
        view.setSecondText(texts.secondText);
    } else if (mode.isDate()) {
        const DisplayTexts texts = dateFormatTexts(now);
        view.setMainText(texts.mainText);
        view.setSecondText(texts.secondText);
    } else {
        // A hand-edited file's value: the labels keep their texts for this one tick.
        mode = DisplayFormat::time();
    }
    textsFrom_ = std::move(inputs);
}

void ClockForm::onTick() {
    // A real modal box dispatches timer messages: ticks behind the failure report must neither
    // act nor report a second time.
    if (failing_) {
        return;
    }
    try {
        tick(window_.createdOnUse());
    } catch (const RuntimeError& error) {
        failing_ = true;
        needs_.lifetime.failWithError(error.number());
    }
}

void ClockForm::onDisplayDoubleClick() {
    DisplayFormat& mode = needs_.watch.settings.displayMode;
    mode = mode.switched();
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

void ClockForm::onDisplayChange() {
    needs_.screenSize.height = static_cast<double>(needs_.screen.heightTwips());
    needs_.screenSize.width = static_cast<double>(needs_.screen.widthTwips());
    ClockView* view = window_.ifLoaded();
    if (view != nullptr && isLost(view->left(), view->top(), monitorsOf(needs_.screen))) {
        view->moveTo(kRecoveredEdgeTwips, kRecoveredEdgeTwips);
    }
}

} // namespace ambrel
