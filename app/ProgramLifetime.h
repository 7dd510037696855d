#pragma once
// What a window's handler may ask of the running program: to end it, in one of its three ways.
// The program implements it; the forms know only this.

namespace ambrel {

class ProgramLifetime {
public:
    virtual ~ProgramLifetime() = default;

    // The clock window's close: closes the sound device, saves the settings with the window's
    // current position and ends the program. Any error on the way is reported and ends it too.
    [[noreturn]] virtual void unloadClockWindow() = 0;
    // The end of the Windows session: the close's work without any box.
    [[noreturn]] virtual void endSession() = 0;
    // Ends everything at once; no window's own unload handling runs.
    [[noreturn]] virtual void endProgram() = 0;
    // Beep, the generic error box with the number, then the end of the program.
    [[noreturn]] virtual void failWithError(int number) = 0;
};

} // namespace ambrel
