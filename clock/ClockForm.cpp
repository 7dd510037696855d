#include "clock/ClockForm.h"

// Placeholder bodies so that the program links while the clock bar's behaviour is written.
namespace ambrel {
void ClockForm::onTick() {}
void ClockForm::onLabel2DblClick() {}
void ClockForm::onLabel2MouseDown(float, float) {}
void ClockForm::onLabel2MouseMove(float, float) {}
void ClockForm::onLabel2MouseUp(float, float) {}
void ClockForm::onImage2MouseDown() {}
void ClockForm::onImage2MouseUp() {}
void ClockForm::onImage1MouseDown() {}
void ClockForm::onImage1MouseUp() {}
} // namespace ambrel
