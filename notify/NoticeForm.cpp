#include "notify/NoticeForm.h"

#include "app/Settings.h"
#include "app/ZOrder.h"

namespace ambrel {

namespace {
// Half the notice's designed width and height in twips: subtracted from the screen's centre, they
// centre the window.
constexpr float kHalfWidthTwips = 3097;
constexpr float kHalfHeightTwips = 893;
} // namespace

void NoticeForm::load(NoticeView& view) {
    // Fixed offsets rather than the window's measured size: the window is placed the same way
    // whatever frame the platform gives it.
    const float left = static_cast<float>(screenSize_.width.toNumber()) / 2 - kHalfWidthTwips;
    const float top = static_cast<float>(screenSize_.height.toNumber()) / 2 - kHalfHeightTwips;
    view.moveTo(left, top);
    applyNotificationTopmost(view);
    view.show();
}

void NoticeForm::notify(const std::string& headline, const std::string& message) {
    show();
    setTexts(headline, message);
}

// An open notice stays where the user moved it: only a new window is placed by load.
void NoticeForm::show() {
    window_.createdOnUse();
}

// Replaces both texts; a notice that was closed meanwhile is opened afresh.
void NoticeForm::setTexts(const std::string& headline, const std::string& message) {
    NoticeView& view = window_.createdOnUse();
    view.setHeadline(headline);
    view.setMessage(message);
}

void NoticeForm::onCloseClick() {
    window_.unload();
}

} // namespace ambrel
