// Feeds arbitrary bytes to the settings reader. Besides crashes and sanitizer findings it checks
// the promise the writer makes: whatever the reader accepted is written so that it reads back to
// the same record, apart from a '"' inside a text, which the writer turns into "”".

#include "app/NumberRules.h"
#include "app/RuntimeError.h"
#include "app/SettingsFile.h"
#include "app/tests/support/Cp932CodePage.h"
#include "fuzz/FuzzCheck.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using ambrel::DynamicValue;

[[noreturn]] void fail(const char* what) {
    ambrel::fuzz::fail("settings fuzzer", what);
}

std::string withQuotesMended(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '"') {
            out += "\u201D";
        } else {
            out += c;
        }
    }
    return out;
}

void checkSame(const DynamicValue& read, const DynamicValue& back, const char* field) {
    if (read.isEmpty()) {
        if (!back.isEmpty()) {
            fail(field);
        }
    } else if (read.isText()) {
        if (!back.isText() || back.text() != withQuotesMended(read.text())) {
            fail(field);
        }
    } else if (std::fabs(read.number()) < 1e300) {
        // 15 significant digits bring a number back to within rounding; only numbers at the very
        // end of the double range may round beyond it on the way.
        if (!back.isNumber() ||
            std::fabs(back.number() - read.number()) > std::fabs(read.number()) * 1e-14) {
            fail(field);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ambrel::Cp932CodePage codePage;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    ambrel::Settings read;
    try {
        ambrel::parseSettings(bytes, codePage, read);
    } catch (const ambrel::RuntimeError& error) {
        const int number = error.number();
        if (number != ambrel::kOverflow && number != ambrel::kTypeMismatch &&
            number != ambrel::kInputPastEnd) {
            fail("unexpected error number");
        }
        return 0;
    }

    const std::string written = ambrel::formatSettings(read, 1234.5f, -15.0f, codePage);
    ambrel::Settings back;
    try {
        ambrel::parseSettings(written, codePage, back);
    } catch (const ambrel::RuntimeError&) {
        fail("a written file does not read back");
    }
    if (back.textColorIndex != read.textColorIndex || back.alarmHour != read.alarmHour ||
        back.alarmMinute != read.alarmMinute || back.alarmSecond != read.alarmSecond) {
        fail("an integer changed");
    }
    if (!back.windowLeft.sameAs(DynamicValue(1234.5)) ||
        !back.windowTop.sameAs(DynamicValue(-15))) {
        fail("the position changed");
    }
    if (back.displayMode != withQuotesMended(read.displayMode.raw())) {
        fail("displayMode changed");
    }
    checkSame(read.alwaysOnTop, back.alwaysOnTop, "alwaysOnTop changed");
    checkSame(read.soundFile, back.soundFile, "soundFile changed");
    checkSame(read.alarmState, back.alarmState, "alarmState changed");
    checkSame(read.alarmMessage, back.alarmMessage, "alarmMessage changed");
    checkSame(read.timerMessage, back.timerMessage, "timerMessage changed");
    return 0;
}
