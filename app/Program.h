#pragma once
// The program as a whole: the start-up procedure Main, the clock window's load and unload, the
// immediate end of the program, and the settings record, the sound player and the three windows
// that live as long as the program does.

#include "app/FormSlot.h"
#include "app/Messages.h"
#include "app/Platform.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/SoundPlayer.h"
#include "clock/ClockForm.h"
#include "clock/ClockView.h"
#include "notify/NoticeForm.h"
#include "notify/NoticeView.h"
#include "options/OptionsForm.h"
#include "options/OptionsView.h"

#include <memory>
#include <string>

namespace ambrel {

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
};

// Creates the platform windows. Each view reports its events to the form it is given.
class ViewFactory {
public:
    virtual ~ViewFactory() = default;
    virtual std::unique_ptr<ClockView> createClockView(ClockForm& form) = 0;
    virtual std::unique_ptr<OptionsView> createOptionsView(OptionsForm& form) = 0;
    virtual std::unique_ptr<NoticeView> createNoticeView(NoticeForm& form) = 0;
};

inline constexpr const char* kHintText = "ダブルクリックすると表示形式が切り替わります";

class Program {
public:
    Program(Services& services, ViewFactory& views);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Start-up: a second instance ends at once and silently; otherwise the clock window is shown
    // (its load runs first) and the countdown length becomes 10 minutes.
    void main();

    // The clock window's close: closes the sound device, saves the settings with the window's
    // current position and ends the program. Any error on the way is reported and ends it too.
    [[noreturn]] void unloadClockWindow();

    // The end of the Windows session (log-off, shut-down): the close's work, without any box,
    // since nobody is left to answer one. A save that fails leaves the old file as it was (the
    // store replaces it whole) and the program ends all the same. Before the clock window's
    // load has finished the record may be half read, so nothing is saved then.
    [[noreturn]] void endSession();

    // Ends everything at once; no window's own unload handling runs.
    [[noreturn]] void endProgram();
    // Beep, the generic error box with the number, then the end of the program.
    [[noreturn]] void failWithError(int number);

    Settings& settings() { return settings_; }
    Services& services() { return services_; }
    SoundPlayer& sound() { return sound_; }

    ClockForm& clock() { return clock_; }
    OptionsForm& options() { return options_; }
    NoticeForm& notice() { return notice_; }

    FormSlot<ClockView>& clockWindow() { return clockWindow_; }
    FormSlot<OptionsView>& optionsWindow() { return optionsWindow_; }
    FormSlot<NoticeView>& noticeWindow() { return noticeWindow_; }

private:
    void loadClockWindow(ClockView& view);
    void runLoadSteps(ClockView& view);
    void closeSoundAndSave();

    Services& services_;
    Settings settings_;
    SettingsFile settingsFile_;
    SoundPlayer sound_;
    ClockForm clock_;
    OptionsForm options_;
    NoticeForm notice_;
    FormSlot<ClockView> clockWindow_;
    FormSlot<OptionsView> optionsWindow_;
    FormSlot<NoticeView> noticeWindow_;
    bool clockLoaded_ = false;
};

} // namespace ambrel
