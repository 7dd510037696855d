#pragma once
// The notification window: centred and topmost when it opens, one headline and the user's message.

#include "app/FormSlot.h"
#include "notify/NoticeView.h"

#include <string>

namespace ambrel {

struct Settings;

class NoticeForm {
public:
    // The screen size of the settings places a new window.
    NoticeForm(const Settings& settings, FormSlot<NoticeView>& window)
        : settings_(settings), window_(window) {}
    NoticeForm(const NoticeForm&) = delete;
    NoticeForm& operator=(const NoticeForm&) = delete;

    void load(NoticeView& view);
    // Shows the window (created and loaded if needed, left where it is if open) with both texts.
    void notify(const std::string& headline, const std::string& message);
    // The two halves of notify, for a caller that has work to do between them.
    void show();
    void setTexts(const std::string& headline, const std::string& message);
    // "閉じる" and the close box. The view is gone on return.
    void onCloseClick();

private:
    const Settings& settings_;
    FormSlot<NoticeView>& window_;
};

} // namespace ambrel
