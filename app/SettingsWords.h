#pragma once
// The words of the settings file, each named here once: the keep-on-top switch ("ON"/"OFF"), the
// alarm's state ("ALON"/"ALOFF") and the display format ("T"/"D"). Each type keeps the raw value
// as the file held it, so a hand-edited "on", "t" or a number where a word was is written back
// byte for byte until the program itself sets the value; only the exact upper-case word counts.

#include "app/DynamicValue.h"

#include <string>
#include <utility>

namespace ambrel {

// "ON" keeps the clock bar above all other windows; "OFF", "on", a number or nothing does not.
class KeepOnTopSwitch : public DynamicValue {
public:
    using DynamicValue::DynamicValue;
    KeepOnTopSwitch(DynamicValue raw) : DynamicValue(std::move(raw)) {}
    static constexpr const char* kOnWord = "ON";
    static constexpr const char* kOffWord = "OFF";
    static KeepOnTopSwitch of(bool on) { return KeepOnTopSwitch(on ? kOnWord : kOffWord); }
    bool isOn() const { return equalsText(kOnWord); }
};

// "ALON" arms the daily alarm; "ALOFF", "alon", a number or nothing leaves it off.
class AlarmSwitch : public DynamicValue {
public:
    using DynamicValue::DynamicValue;
    AlarmSwitch(DynamicValue raw) : DynamicValue(std::move(raw)) {}
    static constexpr const char* kArmedWord = "ALON";
    static constexpr const char* kOffWord = "ALOFF";
    static AlarmSwitch of(bool armed) { return AlarmSwitch(armed ? kArmedWord : kOffWord); }
    bool isArmed() const { return equalsText(kArmedWord); }
};

// "T" shows the time with its seconds, "D" the date with the time; any other text is a
// hand-edited value that the clock replaces with "T" at its next tick.
class DisplayFormat {
public:
    DisplayFormat() = default;
    DisplayFormat(std::string raw) : raw_(std::move(raw)) {}
    DisplayFormat(const char* raw) : raw_(raw) {}

    static constexpr const char* kTimeWord = "T";
    static constexpr const char* kDateWord = "D";
    static DisplayFormat time() { return DisplayFormat(kTimeWord); }
    static DisplayFormat date() { return DisplayFormat(kDateWord); }
    bool isTime() const { return raw_ == kTimeWord; }
    bool isDate() const { return raw_ == kDateWord; }
    // A double-click's switch: the time format becomes the date format, anything else the time.
    DisplayFormat switched() const { return isTime() ? date() : time(); }

    const std::string& raw() const { return raw_; }
    operator const std::string&() const { return raw_; }

    friend bool operator==(const DisplayFormat& format, const char* text) {
        return format.raw_ == text;
    }
    friend bool operator!=(const DisplayFormat& format, const char* text) {
        return format.raw_ != text;
    }
    friend bool operator==(const DisplayFormat& format, const std::string& text) {
        return format.raw_ == text;
    }
    friend bool operator!=(const DisplayFormat& format, const std::string& text) {
        return format.raw_ != text;
    }
    friend bool operator==(const DisplayFormat& a, const DisplayFormat& b) {
        return a.raw_ == b.raw_;
    }
    friend bool operator!=(const DisplayFormat& a, const DisplayFormat& b) {
        return a.raw_ != b.raw_;
    }

private:
    std::string raw_;
};

} // namespace ambrel
