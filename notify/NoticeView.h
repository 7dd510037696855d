#pragma once
// What the notification window's core needs of the platform window.

#include "app/ZOrder.h"

#include <string>

namespace ambrel {

class NoticeView : public ZOrderedWindow {
public:
    virtual void moveTo(float leftTwips, float topTwips) = 0;
    virtual void setHeadline(const std::string& text) = 0;
    virtual void setMessage(const std::string& text) = 0;
    virtual void show() = 0;
};

} // namespace ambrel
