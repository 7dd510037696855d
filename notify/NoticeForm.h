#pragma once
// The notification window: centred and topmost when it opens, one headline and the user's message.

#include "app/DynamicValue.h"
#include "app/FormSlot.h"
#include "notify/NoticeView.h"

#include <string>

namespace ambrel {

// The screen's size in twips, 32-bit floats, as the notice centres on it. Never saved. Writers:
// the program's load (Program::placeAndStart) and the clock bar on a monitor change.
struct ScreenTwips {
    DynamicValue width;
    DynamicValue height;
};

class NoticeForm {
public:
    // The screen size places a new window.
    NoticeForm(const ScreenTwips& screenSize, FormSlot<NoticeView>& window)
        : screenSize_(screenSize), window_(window) {}
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
    const ScreenTwips& screenSize_;
    FormSlot<NoticeView>& window_;
};

} // namespace ambrel
