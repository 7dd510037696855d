#pragma once
// Creates the real windows for the program's three forms.

#include "app/Program.h"

namespace ambrel::win32 {

class WindowFactory : public ViewFactory {
public:
    // The program is known only after it is constructed with this factory.
    void attach(Program& program) { program_ = &program; }

    std::unique_ptr<ClockView> createClockView(ClockForm& form) override;
    std::unique_ptr<OptionsView> createOptionsView(OptionsForm& form) override;
    std::unique_ptr<NoticeView> createNoticeView(NoticeForm& form) override;

private:
    Program* program_ = nullptr;
};

} // namespace ambrel::win32
