#include "clock/DisplayText.h"

#include "app/DynamicValue.h"
#include "app/NumberRules.h"

#include <array>

namespace ambrel {

namespace {

constexpr std::array<std::string_view, 7> kWeekdays{"日", "月", "火", "水", "木", "金", "土"};

// The clock fields: always two digits with a leading zero. Written by hand because the tick
// runs ten times a second for as long as the program runs.
void appendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

// The tooltip's pieces are texts on every tick; they are appended without a copy each.
size_t textLength(const DynamicValue& value) {
    return value.isText() ? value.text().size() : 0;
}
void appendText(std::string& out, const DynamicValue& value) {
    if (value.isText()) {
        out += value.text();
    } else {
        out += value.toText();
    }
}

} // namespace

std::string_view weekdayCharacter(int weekday) {
    if (weekday < 0 || weekday >= static_cast<int>(kWeekdays.size())) {
        return {};
    }
    return kWeekdays[weekday];
}

DisplayTexts timeFormatTexts(const LocalTime& time) {
    DisplayTexts texts;
    appendTwoDigits(texts.mainText, time.hour);
    texts.mainText += " : ";
    appendTwoDigits(texts.mainText, time.minute);
    appendTwoDigits(texts.secondText, time.second);
    texts.secondText += "sec";
    return texts;
}

DisplayTexts dateFormatTexts(const LocalTime& time) {
    DisplayTexts texts;
    texts.mainText = std::to_string(time.month);
    texts.mainText += '/';
    texts.mainText += std::to_string(time.day);
    texts.mainText += '(';
    texts.mainText += weekdayCharacter(time.weekday);
    texts.mainText += ')';
    appendTwoDigits(texts.secondText, time.hour);
    texts.secondText += ':';
    appendTwoDigits(texts.secondText, time.minute);
    return texts;
}

std::string alarmInfoText(const AlarmSwitch& alarmState, int hour, int minute, int second) {
    if (!alarmState.isArmed()) {
        return {};
    }
    // Composed only when the alarm's state or time changed, not on every tick.
    return "【アラーム設定" + numberText(hour) + "時" + numberText(minute) + "分" +
           numberText(second) + "秒】";
}

std::string tooltipText(const DynamicValue& timerInfo, const DynamicValue& alarmInfo,
                        const DynamicValue& hint) {
    std::string text;
    text.reserve(textLength(timerInfo) + textLength(alarmInfo) + textLength(hint));
    appendText(text, timerInfo);
    appendText(text, alarmInfo);
    appendText(text, hint);
    return text;
}

} // namespace ambrel
