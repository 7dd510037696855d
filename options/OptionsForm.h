#pragma once
// The options dialog's behaviour: its load from the settings record, the commands that act at
// once, the digit filter, and the checks and commit when it closes.

#include "options/OptionsView.h"

#include <string>

namespace ambrel {

class Program;

class OptionsForm {
public:
    explicit OptionsForm(Program& program) : program_(program) {}
    OptionsForm(const OptionsForm&) = delete;
    OptionsForm& operator=(const OptionsForm&) = delete;

    // Load: copies the settings record into the controls.
    void load(OptionsView& view);

    // Shows the dialog, modeless, creating and loading it if it does not exist.
    void show();
    // The text of Text1; creates the dialog hidden if it does not exist.
    std::string soundFileText();
    // Command6 disabled, Command5 enabled; creates the dialog hidden if it does not exist.
    void resetCountdownButtons();

    // Control events.
    void onColorOptionClick(int option); // Option1..Option4
    void onScrollChange(OptionsScroll bar, int value);
    // KeyPress of Text2..Text5: the character code to insert, 0 to drop it.
    int onKeyPress(OptionsText box, int charCode);
    void onBrowseClick(); // Command2 "参照"
    void onTestClick();   // Command3 "ﾃｽﾄ"
    void onHelpClick();   // Command4 "ヘルプ"
    void onStartClick();  // Command5 "スタート"
    void onStopClick();   // Command6 "ストップ"

    // "ＯＫ", the close box or any other unloading: the checks, and when they let the dialog
    // close, the commit and the destruction of the window. The view may be gone on return.
    void requestClose();

private:
    bool queryUnload(); // true when the dialog may close
    void commit();

    Program& program_;
};

} // namespace ambrel
