// The driver's commands by area, each printing its JSON lines through `out`. Commands.cpp
// names them for the command line.
#pragma once

#include "CommandArgs.h"

namespace ambrel::e2e {

// Windows: finding them, reading them, answering and closing them (WindowCommands.cpp).
void cmdWindows(const ArgReader& a, const Output& out);
void cmdInfo(const ArgReader& a, const Output& out);
void cmdChildren(const ArgReader& a, const Output& out);
void cmdText(const ArgReader& a, const Output& out);
void cmdSetText(const ArgReader& a, const Output& out);
void cmdMsgbox(const ArgReader& a, const Output& out);
void cmdPress(const ArgReader& a, const Output& out);
void cmdAnswer(const ArgReader& a, const Output& out);
void cmdMessage(const ArgReader& a, const Output& out);
void cmdClose(const ArgReader& a, const Output& out);
void cmdForeground(const ArgReader& a, const Output& out);
void cmdActivate(const ArgReader& a, const Output& out);

// Input as a user gives it: the mouse and the keyboard (InputCommands.cpp).
void cmdClick(const ArgReader& a, const Output& out);
void cmdDrag(const ArgReader& a, const Output& out);
void cmdKey(const ArgReader& a, const Output& out);
void cmdType(const ArgReader& a, const Output& out);

// Probes of what the user sees and hears about: the system's settings, tooltips, the
// screen's pixels, texts the system gives (ProbeCommands.cpp).
void cmdAcp(const ArgReader& a, const Output& out);
void cmdDpi(const ArgReader& a, const Output& out);
void cmdTooltip(const ArgReader& a, const Output& out);
void cmdPixels(const ArgReader& a, const Output& out);
void cmdMciError(const ArgReader& a, const Output& out);
void cmdVersion(const ArgReader& a, const Output& out);
void cmdAccessible(const ArgReader& a, const Output& out);
void cmdShortPath(const ArgReader& a, const Output& out);
void cmdSysColors(const ArgReader& a, const Output& out);
void cmdPing(const ArgReader& a, const Output& out);
// How much slower than a quiet machine the harness measured this one; scales the driver's
// own deadlines.
void cmdSlowness(const ArgReader& a, const Output& out);

// Processes: listing and ending them, their resources, and what the probe library does inside
// them (ProcessCommands.cpp).
void cmdProcs(const ArgReader& a, const Output& out);
void cmdKill(const ArgReader& a, const Output& out);
void cmdResources(const ArgReader& a, const Output& out);
void cmdRefuseWindow(const ArgReader& a, const Output& out);
void cmdCompose(const ArgReader& a, const Output& out);
void cmdDpiChange(const ArgReader& a, const Output& out);

// Files held open as other programs hold them (FileCommands.cpp).
void cmdHold(const ArgReader& a, const Output& out);
void cmdRelease(const ArgReader& a, const Output& out);

// The program's clock, which the suite sets (ClockCommands.cpp).
void cmdClock(const ArgReader& a, const Output& out);

} // namespace ambrel::e2e
