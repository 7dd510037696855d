#pragma once
// Message boxes, the beep, the time of day, the time that passes, the screen, the Windows
// folder's files and the end of the process.

#include "app/Platform.h"

namespace ambrel::win32 {

class SystemMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon) override;
};

class SystemBeeper : public Beeper {
public:
    void beep() override;
};

class SystemClock : public Clock {
public:
    LocalTime now() const override;
};

class SystemSteadyClock : public SteadyClock {
public:
    int64_t milliseconds() const override;
    void sleep(int milliseconds) override;
};

class SystemScreen : public Screen {
public:
    float widthTwips() const override;
    float heightTwips() const override;
    std::vector<TwipsArea> monitorsTwips() const override;
};

class WindowsSystemFiles : public SystemFiles {
public:
    std::string windowsFolder() const override;
    bool fileExists(const std::string& path) const override;
};

class ProcessExit : public ProgramExit {
public:
    [[noreturn]] void endProgram() override;
};

} // namespace ambrel::win32
