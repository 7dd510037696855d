#pragma once
// The options dialog's behaviour: its load from the settings record, the commands that act at
// once, the digit filter, and the checks and commit when it closes.

#include "app/FormSlot.h"
#include "options/OptionsView.h"

#include <functional>
#include <string>
#include <utility>

namespace ambrel {

struct Settings;
struct CountdownState;
class SoundPlayer;
class ProgramLifetime;
class MessageBoxes;
class Beeper;
class Clock;
class FileDialog;
class HelpViewer;
class HelpForm;
class FileStore;
class AnsiCodePage;
class FileNames;

// What the dialog's behaviour uses besides its own window.
struct OptionsNeeds {
    Settings& settings;
    CountdownState& countdown; // the start and stop buttons write it
    SoundPlayer& sound;
    MessageBoxes& messages;
    Beeper& beeper;
    Clock& clock;
    FileDialog& fileDialog;
    HelpViewer& help;
    HelpForm& helpWindow; // the help where no viewer exists
    FileStore& files;
    // What the settings file can hold: the messages and the sound file's path are checked
    // against its code page, and a path it cannot hold is stored in its short form.
    const AnsiCodePage& codePage;
    const FileNames& fileNames;
    ProgramLifetime& lifetime; // a cancelled check ends the program
    // The commit applies the keep-on-top choice to the clock bar.
    std::function<void()> applyClockZOrder;
};

class OptionsForm {
public:
    OptionsForm(OptionsNeeds needs, FormSlot<OptionsView>& window)
        : needs_(std::move(needs)), window_(window) {}
    OptionsForm(const OptionsForm&) = delete;
    OptionsForm& operator=(const OptionsForm&) = delete;

    // Load: copies the settings record into the controls.
    void load(OptionsView& view);

    // Shows the dialog, modeless, creating and loading it if it does not exist.
    void show();
    // The path in the sound-file box without the quotes around it, in the form the settings file
    // can hold when there is one; creates the dialog hidden if it does not exist.
    std::string soundFileText();
    // Stop button disabled, start button enabled; creates the dialog hidden if it does not exist.
    void resetCountdownButtons();

    // Control events.
    void onColorOptionClick(int option); // swatch 1..4
    void onScrollChange(OptionsScroll bar, int value);
    // A key typed in a box: the character code to insert, 0 to drop it. The number boxes (the
    // alarm time and the countdown minutes) take digits and Backspace only; other boxes take
    // every character.
    int onKeyPress(OptionsText box, int charCode);
    void onBrowseClick(); // "参照"
    void onTestClick();   // "ﾃｽﾄ"
    // "ヘルプ": the help file in the system's viewer, or where there is none the program's own
    // help window.
    void onHelpClick();
    void onStartClick(); // "スタート"
    void onStopClick();  // "ストップ"

    // "ＯＫ", the close box or any other unloading: the checks, and when they let the dialog
    // close, the commit and the destruction of the window. The view may be gone on return.
    void requestClose();

private:
    // The box's path without its quotes, as the settings file can hold it, or as typed when it
    // cannot.
    std::string storableSoundFile(const std::string& boxText) const;
    // True when the dialog may close. The checks store the alarm time they convert at once.
    bool queryUnload();
    // The checks of the alarm time (stored as converted) and of the texts the file must hold;
    // each shows its boxes and tells whether it let the dialog close.
    bool checkAlarmTime(const OptionsView& view);
    bool checkStorableTexts(const OptionsView& view);
    void refuseClose(const std::string& text);
    // Takes the rest of the dialog into the record; the alarm time is already there.
    void commit();
    // The start button enabled exactly when no countdown runs, the stop button the other way.
    void enableCountdownButtons(OptionsView& view, bool running);

    OptionsNeeds needs_;
    FormSlot<OptionsView>& window_;
};

} // namespace ambrel
