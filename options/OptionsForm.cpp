#include "options/OptionsForm.h"

// Placeholder bodies so that the program links while the dialog's behaviour is written.
namespace ambrel {
void OptionsForm::load(OptionsView&) {}
void OptionsForm::show() {}
std::string OptionsForm::soundFileText() { return {}; }
void OptionsForm::resetCountdownButtons() {}
void OptionsForm::onColorOptionClick(int) {}
void OptionsForm::onScrollChange(OptionsScroll, int) {}
int OptionsForm::onKeyPress(OptionsText, int charCode) { return charCode; }
void OptionsForm::onBrowseClick() {}
void OptionsForm::onTestClick() {}
void OptionsForm::onHelpClick() {}
void OptionsForm::onStartClick() {}
void OptionsForm::onStopClick() {}
void OptionsForm::requestClose() {}
bool OptionsForm::queryUnload() { return true; }
void OptionsForm::commit() {}
} // namespace ambrel
