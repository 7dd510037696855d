#pragma once
// What the help window's core needs of the platform window.

namespace ambrel {

class HelpView {
public:
    virtual ~HelpView() = default;
    // Visible, restored if minimised, and in front of the other windows, with the focus.
    virtual void showInFront() = 0;
};

} // namespace ambrel
