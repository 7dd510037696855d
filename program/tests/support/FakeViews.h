#pragma once
// Fake windows that keep their controls' state in plain fields, so tests can set and read it.

#include "clock/ClockView.h"
#include "help/HelpView.h"
#include "notify/NoticeView.h"
#include "options/OptionsView.h"
#include "program/Program.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace ambrel::testing {

class FakeClockView : public ClockView {
public:
    float leftTwips = 0;
    float topTwips = 0;
    bool topmost = false;
    int topmostCalls = 0;
    Rgb color{0, 255, 255};
    std::string mainText = "12/28(土)";
    std::string secondText;
    std::string tooltip = "ダブルクリックすると表示形式が切り替わります";
    int exitButtonTop = 0;
    int optionsButtonTop = 0;
    bool timerRunning = false;
    bool visible = false;
    int repaints = 0; // changes of a label's text or colour
    int textsSet = 0; // calls that set a label's text or the tooltip, changed or not

    float left() const override { return leftTwips; }
    float top() const override { return topTwips; }
    void moveTo(float l, float t) override {
        leftTwips = l;
        topTwips = t;
    }
    void setTopmost(bool on) override {
        topmost = on;
        ++topmostCalls;
    }
    void setTextColor(Rgb c) override {
        repaints += c != color ? 1 : 0;
        color = c;
    }
    void setMainText(const std::string& text) override {
        ++textsSet;
        repaints += text != mainText ? 1 : 0;
        mainText = text;
    }
    void setSecondText(const std::string& text) override {
        ++textsSet;
        repaints += text != secondText ? 1 : 0;
        secondText = text;
    }
    void setTooltip(const std::string& text) override {
        ++textsSet;
        tooltip = text;
    }
    void setImageTop(ImageButton button, int top) override {
        (button == ImageButton::Exit ? exitButtonTop : optionsButtonTop) = top;
    }
    void startTimer() override { timerRunning = true; }
    void show() override { visible = true; }
};

class FakeOptionsView : public OptionsView {
public:
    std::array<std::string, 7> texts{"", "", "", "", "10", "", ""};
    std::array<bool, 2> checks{false, false};
    std::array<int, 4> scrolls{1, 0, 1, 1}; // the layout's positions
    std::array<int, 4> scrollMax{999, 23, 59, 59};
    bool command5Enabled = true;
    bool command6Enabled = false;
    int colorOption = 0;
    bool visible = false;
    int shows = 0;

    std::string text(OptionsText box) const override { return texts[static_cast<int>(box)]; }
    void setText(OptionsText box, const std::string& t) override {
        texts[static_cast<int>(box)] = t;
    }
    bool isChecked(OptionsCheck box) const override { return checks[static_cast<int>(box)]; }
    void setChecked(OptionsCheck box, bool on) override { checks[static_cast<int>(box)] = on; }
    int scrollValue(OptionsScroll bar) const override { return scrolls[static_cast<int>(bar)]; }
    void setScrollValue(OptionsScroll bar, int value) override {
        const int i = static_cast<int>(bar);
        scrolls[i] = std::clamp(value, 0, scrollMax[i]);
    }
    bool isEnabled(OptionsCommand button) const override {
        return button == OptionsCommand::StartButton ? command5Enabled : command6Enabled;
    }
    void setEnabled(OptionsCommand button, bool on) override {
        (button == OptionsCommand::StartButton ? command5Enabled : command6Enabled) = on;
    }
    void selectColorOption(int option) override { colorOption = option; }
    int selectedColorOption() const override { return colorOption; }
    void show() override {
        visible = true;
        ++shows;
    }
};

class FakeNoticeView : public NoticeView {
public:
    float leftTwips = 0;
    float topTwips = 0;
    bool topmost = false;
    bool visible = false;
    std::string headline;
    std::string message;

    void moveTo(float l, float t) override {
        leftTwips = l;
        topTwips = t;
    }
    void setTopmost(bool on) override { topmost = on; }
    void setHeadline(const std::string& text) override { headline = text; }
    void setMessage(const std::string& text) override { message = text; }
    void show() override { visible = true; }
};

class FakeHelpView : public HelpView {
public:
    int shownInFront = 0;
    void showInFront() override { ++shownInFront; }
};

// Hands out fake views and remembers the latest of each kind (owned by the program's slots).
class FakeViewFactory : public ViewFactory {
public:
    FakeClockView* clock = nullptr;
    FakeOptionsView* options = nullptr;
    FakeNoticeView* notice = nullptr;
    FakeHelpView* help = nullptr;
    int optionsCreated = 0;
    int noticesCreated = 0;
    int helpsCreated = 0;

    std::unique_ptr<ClockView> createClockView(ClockForm&) override {
        auto view = std::make_unique<FakeClockView>();
        clock = view.get();
        return view;
    }
    std::unique_ptr<OptionsView> createOptionsView(OptionsForm&) override {
        auto view = std::make_unique<FakeOptionsView>();
        options = view.get();
        ++optionsCreated;
        return view;
    }
    std::unique_ptr<NoticeView> createNoticeView(NoticeForm&) override {
        auto view = std::make_unique<FakeNoticeView>();
        notice = view.get();
        ++noticesCreated;
        return view;
    }
    std::unique_ptr<HelpView> createHelpView(HelpForm&) override {
        auto view = std::make_unique<FakeHelpView>();
        help = view.get();
        ++helpsCreated;
        return view;
    }
};

} // namespace ambrel::testing
