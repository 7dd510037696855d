#include "program/win32/WindowFactory.h"

#include "clock/win32/ClockWindow.h"
#include "help/win32/HelpWindow.h"
#include "notify/win32/NoticeWindow.h"
#include "options/win32/OptionsWindow.h"

namespace ambrel::win32 {

std::unique_ptr<ClockView> WindowFactory::createClockView(ClockForm& form) {
    // Any request to close the clock bar (the exit button, WM_CLOSE) is its unload.
    return std::make_unique<ClockWindow>(form, [clock = &form] { clock->onCloseRequest(); });
}

std::unique_ptr<OptionsView> WindowFactory::createOptionsView(OptionsForm& form) {
    return std::make_unique<OptionsWindow>(form);
}

std::unique_ptr<NoticeView> WindowFactory::createNoticeView(NoticeForm& form) {
    return std::make_unique<NoticeWindow>(form);
}

std::unique_ptr<HelpView> WindowFactory::createHelpView(HelpForm& form) {
    return std::make_unique<HelpWindow>(form);
}

} // namespace ambrel::win32
