#pragma once
// A settings value that is empty, a number or a text, and knows which.
//
// Comparison with a text literal is exact and case-sensitive ("on" is not "ON"); a number or an
// empty value never equals a text. In arithmetic an empty value counts as 0, a number is used as
// it is, a text that reads as a decimal number is converted and any other text is error 13.

#include <string>
#include <string_view>
#include <variant>

namespace ambrel {

class DynamicValue {
public:
    DynamicValue() = default;
    DynamicValue(double number) : value_(number) {}
    DynamicValue(int number) : value_(static_cast<double>(number)) {}
    DynamicValue(std::string text) : value_(std::move(text)) {}
    DynamicValue(const char* text) : value_(std::string(text)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isNumber() const { return std::holds_alternative<double>(value_); }
    bool isText() const { return std::holds_alternative<std::string>(value_); }

    // Exact, case-sensitive equality with a text; false for numbers and the empty value.
    bool equalsText(std::string_view text) const;
    bool operator==(std::string_view text) const { return equalsText(text); }
    bool operator!=(std::string_view text) const { return !equalsText(text); }

    // Structural equality (same kind, same content), for tests and change detection.
    bool sameAs(const DynamicValue& other) const { return value_ == other.value_; }

    // The value in arithmetic; throws RuntimeError(13) for a text that is not a number.
    double toNumber() const;
    // The value as text: a text as it is, a number in decimal without a sign blank, empty as "".
    std::string toText() const;

    // Only valid for the matching kind.
    double number() const { return std::get<double>(value_); }
    const std::string& text() const { return std::get<std::string>(value_); }

private:
    std::variant<std::monostate, double, std::string> value_;
};

} // namespace ambrel
