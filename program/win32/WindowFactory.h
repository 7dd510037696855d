#pragma once
// Creates the real windows for the program's forms.

#include "program/Program.h"

namespace ambrel::win32 {

class WindowFactory : public ViewFactory {
public:
    std::unique_ptr<ClockView> createClockView(ClockForm& form) override;
    std::unique_ptr<OptionsView> createOptionsView(OptionsForm& form) override;
    std::unique_ptr<NoticeView> createNoticeView(NoticeForm& form) override;
    std::unique_ptr<HelpView> createHelpView(HelpForm& form) override;
};

} // namespace ambrel::win32
