#pragma once
// The program as a whole: it owns the settings record, the sound player and the windows,
// wires each form to the few things it uses, and runs the start-up procedure Main, the clock
// window's load and unload and the immediate end of the program. Nothing else includes it but
// the program's entry point and the tests.

#include "app/FormSlot.h"
#include "app/Messages.h"
#include "app/Platform.h"
#include "app/ProgramLifetime.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/SoundPlayer.h"
#include "clock/ClockForm.h"
#include "clock/ClockView.h"
#include "help/HelpForm.h"
#include "help/HelpView.h"
#include "notify/NoticeForm.h"
#include "notify/NoticeView.h"
#include "options/Countdown.h"
#include "options/OptionsForm.h"
#include "options/OptionsView.h"

#include <memory>
#include <string>

namespace ambrel {

class RuntimeError;

// Thrown when ProgramExit::endProgram returns, which only a test's fake does: nothing of the
// program may run after its end. Not a RuntimeError, so no handler of the program traps it.
struct ProgramEnded {};

struct Services {
    MessageBoxes& messages;
    Beeper& beeper;
    Clock& clock;
    Screen& screen;
    SoundDevice& sound;
    FileDialog& fileDialog;
    HelpViewer& help;
    InstanceCheck& instance;
    ProgramExit& exit;
    FileStore& files;
    AnsiCodePage& codePage;
    FileNames& fileNames;
    SteadyClock& steadyClock;
    SystemFiles& systemFiles;
};

// Creates the platform windows. Each view reports its events to the form it is given.
class ViewFactory {
public:
    virtual ~ViewFactory() = default;
    virtual std::unique_ptr<ClockView> createClockView(ClockForm& form) = 0;
    virtual std::unique_ptr<OptionsView> createOptionsView(OptionsForm& form) = 0;
    virtual std::unique_ptr<NoticeView> createNoticeView(NoticeForm& form) = 0;
    virtual std::unique_ptr<HelpView> createHelpView(HelpForm& form) = 0;
};

class Program final : public ProgramLifetime {
public:
    Program(Services& services, ViewFactory& views);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Start-up: a second instance ends at once and silently; otherwise the clock window is shown
    // (its load runs first) and the countdown length becomes 10 minutes.
    void main();

    // Closing before the clock window's load has finished saves nothing (see endSession).
    [[noreturn]] void unloadClockWindow() override;

    // The end of the Windows session (log-off, shut-down): the close's work, without any box,
    // since nobody is left to answer one. A save that fails leaves the old file as it was (the
    // store replaces it whole) and the program ends all the same. Before the clock window's
    // load has finished the record may be half read, so nothing is saved then.
    [[noreturn]] void endSession() override;

    [[noreturn]] void endProgram() override;
    [[noreturn]] void failWithError(int number) override;

    // For the tests, which drive the forms and look at the record.
    Settings& settings() { return settings_; }
    CountdownState& countdown() { return countdown_; }
    SavedAlarmState suspendedAlarm() const { return suspendedAlarm_; }
    const ScreenTwips& screenSize() const { return screenSize_; }
    const DynamicValue& hintText() const { return hintText_; }

    ClockForm& clock() { return clock_; }
    OptionsForm& options() { return options_; }
    NoticeForm& notice() { return notice_; }
    HelpForm& help() { return help_; }

    FormSlot<ClockView>& clockWindow() { return clockWindow_; }
    FormSlot<OptionsView>& optionsWindow() { return optionsWindow_; }
    FormSlot<NoticeView>& noticeWindow() { return noticeWindow_; }
    FormSlot<HelpView>& helpWindow() { return helpWindow_; }

private:
    // The settings are read, then the window is placed and started; a failure of either ends
    // the program with its box.
    void loadClockWindow(ClockView& view);
    // The one place that tells the user why the settings could not be read, and ends.
    [[noreturn]] void endWithUnreadSettings(const SettingsReadResult& read);
    void placeAndStart(ClockView& view);
    void closeSoundAndSave();
    // The damaged file's end: the default file in its place, then the end of the program.
    [[noreturn]] void replaceDamagedFileAndEnd();
    // failWithError for `error`, whose box also names the file it could not write.
    [[noreturn]] void failWith(const RuntimeError& error);
    [[noreturn]] void failWithError(int number, const std::string& unwritablePath);
    // A close that arrives before the load has finished: nothing of the record is saved.
    [[noreturn]] void endUnsavedDuringLoad();

    Services& services_;
    Settings settings_; // what the settings file holds
    // The run-time state that never reaches the file, each handed to the parts that use it.
    CountdownState countdown_;
    SavedAlarmState suspendedAlarm_ = SavedAlarmState::None; // the watch's
    ScreenTwips screenSize_;
    DynamicValue hintText_; // the tooltip's hint; written by placeAndStart only
    SettingsFile settingsFile_;
    SoundPlayer sound_;
    // The slots come before the forms that hold them; a slot reaches its form only when a
    // window is created, once everything is constructed.
    FormSlot<ClockView> clockWindow_;
    FormSlot<OptionsView> optionsWindow_;
    FormSlot<NoticeView> noticeWindow_;
    FormSlot<HelpView> helpWindow_;
    NoticeForm notice_;
    HelpForm help_;
    OptionsForm options_;
    ClockForm clock_;
    bool clockLoaded_ = false;
    bool damagedFileToReplace_ = false; // the load met a damaged file and has reported it
};

} // namespace ambrel
