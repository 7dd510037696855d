#pragma once
// A whole program on fakes: a settable clock, a recording sound device, scripted message boxes,
// an in-memory folder and fake windows.

#include "app/tests/support/Cp932CodePage.h"
#include "app/tests/support/FakePlatform.h"
#include "app/tests/support/MemoryFileStore.h"
#include "program/Program.h"
#include "program/tests/support/FakeViews.h"

#include <string>

namespace ambrel::testing {

// Store: the folder's stand-in, a MemoryFileStore or a kind of one with its own failures.
template <class Store = MemoryFileStore> struct BasicTestProgram {
    FakeMessageBoxes messages;
    FakeBeeper beeper;
    FakeClock clock;
    FakeScreen screen;
    FakeSoundDevice sound;
    FakeFileDialog fileDialog;
    FakeHelpViewer help;
    FakeInstanceCheck instance;
    FakeProgramExit exit;
    Store files;
    Cp932CodePage codePage;
    FakeFileNames fileNames;
    FakeSteadyClock steadyClock;
    FakeSystemFiles systemFiles;
    Services services{messages, beeper, clock, screen,   sound,     fileDialog,  help,
                      instance, exit,   files, codePage, fileNames, steadyClock, systemFiles};
    FakeViewFactory views;
    Program program{services, views};

    // Runs Main over a settings file with these bytes (UTF-8 here, stored as CP932).
    void start(const std::string& settingsUtf8) {
        files.files["AMBREL.SET"] = codePage.fromUtf8(settingsUtf8);
        program.main();
    }
    // Main over the default file, as after a first start.
    void startWithDefaults() { start(std::string(kDefaultSettingsBytes)); }

    Settings& settings() { return program.settings(); }
    FakeClockView& clockView() { return *views.clock; }
    FakeOptionsView& optionsView() { return *views.options; }
    FakeNoticeView& noticeView() { return *views.notice; }
};

using TestProgram = BasicTestProgram<>;

} // namespace ambrel::testing
