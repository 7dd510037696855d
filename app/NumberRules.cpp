#include "app/NumberRules.h"

#include "app/DynamicValue.h"
#include "app/RuntimeError.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace ambrel {

namespace {

// The Windows runtime's own formatter. With mingw, std::snprintf is the C99 one that libstdc++
// asks for, and it brings its own floating-point conversion, a fifth of the executable; the
// runtime's writes the same digits, and its three-digit exponent is trimmed in formatG.
template <class... Args>
int formatNumber(char* buffer, std::size_t size, const char* format, Args... args) {
#ifdef _WIN32
    const int length = _snprintf(buffer, size - 1, format, args...);
    buffer[size - 1] = '\0';
    return length;
#else
    return std::snprintf(buffer, size, format, args...);
#endif
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class ScanResult { Number, NotNumber, Overflow };

struct Scanned {
    ScanResult result = ScanResult::NotNumber;
    double value = 0.0;
};

// A reading position in a text.
struct Cursor {
    std::string_view text;
    std::size_t at = 0;

    bool atEnd() const { return at >= text.size(); }
    bool atDigit() const { return !atEnd() && isDigit(text[at]); }
    // Steps over the next character if it is `a` or `b`.
    bool take(char a, char b) {
        if (atEnd() || (text[at] != a && text[at] != b)) {
            return false;
        }
        ++at;
        return true;
    }
    void skipBlanks() {
        while (!atEnd() && isBlank(text[at])) {
            ++at;
        }
    }
};

struct Mantissa {
    std::size_t digits = 0;
    // The decimal magnitude of the first significant digit, for telling overflow from underflow
    // when the exponent takes the value beyond a double.
    long magnitude = 0;
    bool seenSignificant = false;
};

// The digits before and after the decimal point.
Mantissa scanMantissa(Cursor& cursor) {
    Mantissa mantissa;
    for (; cursor.atDigit(); ++cursor.at) {
        if (cursor.text[cursor.at] != '0' || mantissa.seenSignificant) {
            mantissa.seenSignificant = true;
            ++mantissa.magnitude;
        }
        ++mantissa.digits;
    }
    if (!cursor.take('.', '.')) {
        return mantissa;
    }
    for (; cursor.atDigit(); ++cursor.at) {
        if (!mantissa.seenSignificant) {
            if (cursor.text[cursor.at] == '0') {
                --mantissa.magnitude;
            } else {
                mantissa.seenSignificant = true;
            }
        }
        ++mantissa.digits;
    }
    return mantissa;
}

// The exponent after the E, capped far beyond any double; false when it has no digits.
bool scanExponent(Cursor& cursor, long& exponent) {
    const bool negative = cursor.take('-', '-');
    if (!negative) {
        cursor.take('+', '+');
    }
    if (!cursor.atDigit()) {
        return false;
    }
    for (; cursor.atDigit(); ++cursor.at) {
        if (exponent < 1000000) {
            exponent = exponent * 10 + (cursor.text[cursor.at] - '0');
        }
    }
    if (negative) {
        exponent = -exponent;
    }
    return true;
}

// The value of a number already scanned, without its sign. The runtime's strtod rather than
// std::from_chars: the library's floating-point parser would add 21 KB to the executable, and
// the scanner has already taken the text apart, so strtod meets nothing but digits, a point and
// an exponent.
Scanned convert(std::string_view number, const Mantissa& mantissa, long exponent) {
    const std::string digits(number);
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(digits.c_str(), &end);
    if (end != digits.c_str() + digits.size()) {
        return {};
    }
    if (errno == ERANGE) {
        if (mantissa.seenSignificant && mantissa.magnitude + exponent > 0) {
            return {ScanResult::Overflow, 0.0};
        }
        if (std::fpclassify(value) != FP_SUBNORMAL) {
            value = 0.0; // too small for a double: it is zero
        }
    }
    if (std::isinf(value)) {
        return {ScanResult::Overflow, 0.0};
    }
    return {ScanResult::Number, value};
}

// One scanner for both parseDecimal and the conversions, so that "reads as a number" means the
// same everywhere. It tells a text that is no number apart from one that is too large, because
// the conversions answer those with different error numbers.
Scanned scanDecimal(std::string_view text) {
    Cursor cursor{text};
    cursor.skipBlanks();
    const bool negative = cursor.take('-', '-');
    if (!negative) {
        cursor.take('+', '+');
    }
    const std::size_t numberStart = cursor.at;
    const Mantissa mantissa = scanMantissa(cursor);
    if (mantissa.digits == 0) {
        return {};
    }
    long exponent = 0;
    if (cursor.take('E', 'e') && !scanExponent(cursor, exponent)) {
        return {};
    }
    const std::size_t numberEnd = cursor.at;
    cursor.skipBlanks();
    if (!cursor.atEnd()) {
        return {};
    }
    Scanned scanned =
        convert(text.substr(numberStart, numberEnd - numberStart), mantissa, exponent);
    if (scanned.result == ScanResult::Number && negative) {
        scanned.value = -scanned.value;
    }
    return scanned;
}

// printf's %G with a two-digit exponent (1E+20), also where the C runtime writes three digits
// (the Windows one writes 1E+020). "INF"-like results are left as they come: a position or a
// setting never holds one.
std::string formatG(double number, int precision) {
    char buffer[64];
    formatNumber(buffer, sizeof buffer, "%.*G", precision, number);
    std::string text = buffer;
    const size_t e = text.find('E');
    if (e != std::string::npos && e + 1 < text.size()) {
        const size_t digits = e + 2; // after the exponent's sign
        while (text.size() - digits > 2 && text[digits] == '0') {
            text.erase(digits, 1);
        }
    }
    return text;
}

int16_t checkedInt16(double rounded) {
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        throw RuntimeError(kOverflow);
    }
    return static_cast<int16_t>(rounded);
}

} // namespace

std::optional<double> parseDecimal(std::string_view text) {
    const Scanned scanned = scanDecimal(text);
    if (scanned.result != ScanResult::Number) {
        return std::nullopt;
    }
    return scanned.value;
}

double textToNumber(std::string_view text) {
    const Scanned scanned = scanDecimal(text);
    switch (scanned.result) {
    case ScanResult::Number:
        return scanned.value;
    case ScanResult::Overflow:
        throw RuntimeError(kOverflow);
    case ScanResult::NotNumber:
        break;
    }
    throw RuntimeError(kTypeMismatch);
}

std::string decimalText(double number) {
    if (number == 0.0) {
        return "0"; // also for -0, which must not show a sign
    }
    return formatG(number, 15);
}

std::string numberText(double number) {
    if (std::signbit(number) && number != 0.0) {
        return decimalText(number);
    }
    return " " + decimalText(number);
}

std::string singleText(float number) {
    if (number == 0.0f) {
        return "0";
    }
    const double value = number;
    // Whole values, such as saved window positions, are written with all their digits; the bound
    // keeps %.0f away from absurd lengths.
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15) {
        char buffer[32];
        formatNumber(buffer, sizeof buffer, "%.0f", value);
        return buffer;
    }
    return formatG(value, 7);
}

int16_t toInt16(double number) {
    if (!std::isfinite(number)) {
        throw RuntimeError(kOverflow);
    }
    // Halves go to the even neighbour (2.5 -> 2, 3.5 -> 4), independent of the FPU rounding mode.
    const double lower = std::floor(number);
    const double fraction = number - lower;
    double rounded = lower;
    if (fraction > 0.5) {
        rounded = lower + 1.0;
    } else if (fraction == 0.5) {
        rounded = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    }
    return checkedInt16(rounded);
}

int16_t toInt16(std::string_view text) {
    return toInt16(textToNumber(text));
}

int16_t toInt16(const DynamicValue& value) {
    return toInt16(value.toNumber());
}

} // namespace ambrel
