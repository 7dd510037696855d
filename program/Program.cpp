#include "program/Program.h"

#include "app/RuntimeError.h"
#include "app/ZOrder.h"
#include "clock/DisplayText.h"
#include "clock/Placement.h"

#include <exception>

namespace ambrel {

namespace {
// The countdown length the dialog offers after start-up, in minutes.
constexpr int kInitialCountdownMinutes = 10;
} // namespace

Program::Program(Services& services, ViewFactory& views)
    : services_(services), settingsFile_(services.files, services.codePage, services.steadyClock),
      sound_(settings_, services.sound, services.messages, services.systemFiles),
      clockWindow_([this, &views] { return views.createClockView(clock_); },
                   [this](ClockView& view) { loadClockWindow(view); }),
      optionsWindow_([this, &views] { return views.createOptionsView(options_); },
                     [this](OptionsView& view) { options_.load(view); }),
      noticeWindow_([this, &views] { return views.createNoticeView(notice_); },
                    [this](NoticeView& view) { notice_.load(view); }),
      // The help window brings its text along; there is nothing to load into it.
      helpWindow_([this, &views] { return views.createHelpView(help_); }, [](HelpView&) {}),
      notice_(screenSize_, noticeWindow_), help_(helpWindow_),
      options_(OptionsNeeds{settings_, countdown_, sound_, services.messages, services.beeper,
                            services.clock, services.fileDialog, services.help, help_,
                            services.files, services.codePage, services.fileNames, *this,
                            [this] { applyClockZOrder(settings_, clockWindow_.createdOnUse()); }},
               optionsWindow_),
      clock_(ClockNeeds{WatchTargets{settings_, countdown_, suspendedAlarm_, sound_, options_,
                                     notice_},
                        services.clock, services.messages, *this, services.screen, screenSize_,
                        hintText_},
             clockWindow_) {}

void Program::main() {
    if (services_.instance.anotherInstanceRunning()) {
        endProgram();
    }
    clockWindow_.createdOnUse().show();
    countdown_.minutes = kInitialCountdownMinutes;
}

void Program::loadClockWindow(ClockView& view) {
    suspendedAlarm_ = SavedAlarmState::None;
    const SettingsReadResult read = settingsFile_.readAtStartup(settings_);
    if (!read.isRead()) {
        endWithUnreadSettings(read);
    }
    try {
        placeAndStart(view);
    } catch (const RuntimeError& error) {
        failWithError(error.number());
    }
    clockLoaded_ = true;
}

void Program::endWithUnreadSettings(const SettingsReadResult& read) {
    switch (read.outcome) {
    case SettingsReadOutcome::StillMissing:
        services_.beeper.beep();
        services_.messages.show(kSettingsMissingText, kErrorTitle, MessageButtons::Ok,
                                MessageIcon::None);
        endProgram();
    case SettingsReadOutcome::DamagedAndKeptAside:
        damagedFileToReplace_ = true;
        services_.beeper.beep();
        services_.messages.show(kSettingsCorruptText, kCorruptFileTitle, MessageButtons::Ok,
                                MessageIcon::Information);
        replaceDamagedFileAndEnd();
    case SettingsReadOutcome::DamagedNotKeptAside:
        damagedFileToReplace_ = true;
        services_.beeper.beep();
        services_.messages.show(fatalErrorText(read.errorNumber, read.unwritablePath), kErrorTitle,
                                MessageButtons::Ok, MessageIcon::None);
        replaceDamagedFileAndEnd();
    default:
        failWithError(read.errorNumber, read.unwritablePath);
    }
}

void Program::placeAndStart(ClockView& view) {
    screenSize_.height = static_cast<double>(services_.screen.heightTwips());
    screenSize_.width = static_cast<double>(services_.screen.widthTwips());

    // Only a position far off every monitor is reset. Both fields are read first, so a text in
    // either is error 13 whatever the other holds.
    const double left = settings_.windowLeft.toNumber();
    const double top = settings_.windowTop.toNumber();
    if (isLost(left, top, monitorsOf(services_.screen))) {
        settings_.windowLeft = kRecoveredEdgeTwips;
        settings_.windowTop = kRecoveredEdgeTwips;
    }

    // A window edge is a 32-bit float; a position beyond its range lies far off every screen
    // and has just been brought back, so the conversion is exact enough.
    view.moveTo(static_cast<float>(settings_.windowLeft.toNumber()),
                static_cast<float>(settings_.windowTop.toNumber()));
    applyClockZOrder(settings_, view);
    hintText_ = kHintText;
    sound_.openSound();
    view.startTimer();
}

void Program::closeSoundAndSave() {
    sound_.closeSound();
    const ClockView& view = clockWindow_.createdOnUse();
    // The file keeps the alarm the user armed, also while the watch holds it suspended.
    Settings toSave = settings_;
    toSave.alarmState = alarmStateToSave(settings_.alarmState, suspendedAlarm_);
    settingsFile_.saveSettingsFile(toSave, view.left(), view.top());
}

void Program::replaceDamagedFileAndEnd() {
    try {
        settingsFile_.writeDefaultSettingsFile();
    } catch (const RuntimeError& writeError) {
        failWith(writeError);
    }
    endProgram();
}

void Program::endUnsavedDuringLoad() {
    // A close during one of the load's boxes (WM_CLOSE reaches the hidden clock window through
    // the box's own message loop) meets a record that may be half read: saving it would put
    // empty or partly read fields over the user's file. The program ends as the failure behind
    // that box would end it, so a damaged file is still replaced.
    if (damagedFileToReplace_) {
        replaceDamagedFileAndEnd();
    }
    endProgram();
}

void Program::unloadClockWindow() {
    if (!clockLoaded_) {
        endUnsavedDuringLoad();
    }
    try {
        closeSoundAndSave();
    } catch (const RuntimeError& error) {
        failWith(error);
    }
    endProgram();
}

void Program::endSession() {
    if (clockLoaded_) {
        try {
            closeSoundAndSave();
        } catch (const std::exception&) {
            // No box: the session is ending and would wait for an answer that never comes.
        }
    }
    endProgram();
}

void Program::endProgram() {
    services_.exit.endProgram();
    throw ProgramEnded{};
}

void Program::failWithError(int number) {
    failWithError(number, {});
}

void Program::failWith(const RuntimeError& error) {
    const auto* unwritable = dynamic_cast<const FileWriteError*>(&error);
    failWithError(error.number(), unwritable ? unwritable->path() : std::string());
}

void Program::failWithError(int number, const std::string& unwritablePath) {
    services_.beeper.beep();
    services_.messages.show(fatalErrorText(number, unwritablePath), kErrorTitle, MessageButtons::Ok,
                            MessageIcon::None);
    endProgram();
}

} // namespace ambrel
