#pragma once
// The classic number rules that texts and conversions follow throughout the program.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ambrel {

class DynamicValue;

// Reads a decimal number: optional blanks, an optional sign, digits with an optional decimal
// point and an optional exponent (1.5E+3), optional blanks. Anything else gives nullopt.
std::optional<double> parseDecimal(std::string_view text);

// A text used in arithmetic: its number as parseDecimal reads it. RuntimeError(13) when the text
// is not a number, RuntimeError(6) when it is one beyond the range of a double (1E+400).
double textToNumber(std::string_view text);

// A number in decimal without a sign blank: 7 -> "7", -7 -> "-7", 2.5 -> "2.5".
// Up to 15 significant digits, as a double carries them.
std::string decimalText(double number);

// The number text of composed messages: one leading blank in place of the sign when the number
// is not negative, so 7 -> " 7", -7 -> "-7".
std::string numberText(double number);

// The settings file's form of a 32-bit float: a whole value like an integer, otherwise at most
// 7 significant digits, never a leading blank.
std::string singleText(float number);

// Conversion to a 16-bit signed integer, rounding halves to even (banker's rounding).
// Out of range: RuntimeError(6); a text that is not a number: RuntimeError(13).
int16_t toInt16(double number);
int16_t toInt16(std::string_view text);
int16_t toInt16(const DynamicValue& value);
// A literal or a std::string would convert to both a string_view and a DynamicValue.
inline int16_t toInt16(const char* text) {
    return toInt16(std::string_view(text));
}
inline int16_t toInt16(const std::string& text) {
    return toInt16(std::string_view(text));
}

} // namespace ambrel
