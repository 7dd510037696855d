// Feeds arbitrary bytes to the value rules, both as a text (what a settings item or a text box
// holds) and as the bits of a double (what arithmetic may produce). The settings reader reaches
// only some of these rules, with the few values a file can spell; here every conversion is
// checked against what it promises to the code that uses it.

#include "app/DynamicValue.h"
#include "app/NumberRules.h"
#include "app/RuntimeError.h"
#include "fuzz/FuzzCheck.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

using ambrel::DynamicValue;

void fail(const char* what) {
    ambrel::fuzz::fail("value rules fuzzer", what);
}

int errorOf(void (*convert)(std::string_view), std::string_view text) {
    try {
        convert(text);
    } catch (const ambrel::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

// A written number must read back: 15 significant digits carry a double to within rounding.
void checkReadsBack(const std::string& written, double number, double tolerance, const char* what) {
    const auto back = ambrel::parseDecimal(written);
    if (!back || std::fabs(*back - number) > std::fabs(number) * tolerance) {
        fail(what);
    }
}

// The classic conversion to a 16-bit integer, computed another way: the FPU's own rounding to
// nearest, which sends halves to the even neighbour.
bool expectedInt16(double number, int16_t& out) {
    if (!std::isfinite(number)) {
        return false;
    }
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(number);
    if (rounded < -32768.0 || rounded > 32767.0) {
        return false;
    }
    out = static_cast<int16_t>(rounded);
    return true;
}

void checkInt16(double number) {
    int16_t expected = 0;
    const bool inRange = expectedInt16(number, expected);
    try {
        if (ambrel::toInt16(number) != expected || !inRange) {
            fail("toInt16 of a number gave another integer");
        }
    } catch (const ambrel::RuntimeError& error) {
        if (inRange || error.number() != ambrel::kOverflow) {
            fail("toInt16 of a number failed wrongly");
        }
    }
}

void checkNumberTexts(double number) {
    const std::string decimal = ambrel::decimalText(number);
    const std::string composed = ambrel::numberText(number);
    const bool negative = number < 0.0;
    if (decimal.empty() || decimal[0] == ' ' || (decimal[0] == '-') != negative) {
        fail("decimalText has a wrong sign");
    }
    if (composed != (negative ? decimal : " " + decimal)) {
        fail("numberText is not decimalText with its sign blank");
    }
    // The classic exponent has two digits at least and no padding beyond them (1E+20, 1E-07,
    // 1E+300), whatever the C runtime writes.
    const size_t e = decimal.find('E');
    if (e != std::string::npos) {
        const std::string digits = decimal.substr(e + 2);
        if (digits.size() < 2 || (digits.size() > 2 && digits[0] == '0')) {
            fail("an exponent of the wrong width");
        }
    }
    if (std::fabs(number) < 1e300) {
        checkReadsBack(decimal, number, 1e-14, "decimalText does not read back");
        checkReadsBack(composed, number, 1e-14, "numberText does not read back");
    }
}

void checkSingleText(float number) {
    const std::string text = ambrel::singleText(number);
    if (text.empty() || text[0] == ' ') {
        fail("singleText begins with a blank");
    }
    const double value = number;
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15) {
        checkReadsBack(text, value, 0.0, "a whole position does not read back exactly");
    } else {
        // Seven significant digits: within half a unit of the seventh.
        checkReadsBack(text, value, 5e-7, "a position does not read back to seven digits");
    }
}

void checkText(std::string_view text) {
    const auto parsed = ambrel::parseDecimal(text);
    const int numberError = errorOf([](std::string_view t) { ambrel::textToNumber(t); }, text);
    if (parsed) {
        if (numberError != 0 || ambrel::textToNumber(text) != *parsed) {
            fail("textToNumber disagrees with parseDecimal");
        }
        if (DynamicValue(std::string(text)).toNumber() != *parsed) {
            fail("a numeric text converts differently as a dynamic value");
        }
        checkNumberTexts(*parsed);
    } else if (numberError != ambrel::kTypeMismatch && numberError != ambrel::kOverflow) {
        fail("a text that is no number is neither error 13 nor 6");
    }

    const int int16Error = errorOf([](std::string_view t) { ambrel::toInt16(t); }, text);
    if (numberError != 0) {
        if (int16Error != numberError) {
            fail("toInt16 of a text reports another error than textToNumber");
        }
        return;
    }
    int16_t expected = 0;
    if (expectedInt16(*parsed, expected)) {
        if (int16Error != 0 || ambrel::toInt16(text) != expected) {
            fail("toInt16 of a text gave another integer");
        }
    } else if (int16Error != ambrel::kOverflow) {
        fail("toInt16 of a text out of range is not error 6");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkText(std::string_view(reinterpret_cast<const char*>(data), size));

    if (size >= sizeof(double)) {
        double number = 0.0;
        std::memcpy(&number, data, sizeof number);
        checkInt16(number);
        if (std::isfinite(number)) {
            checkNumberTexts(number);
            if (std::fabs(number) <= std::numeric_limits<float>::max()) {
                checkSingleText(static_cast<float>(number));
            }
        }
    }
    return 0;
}
