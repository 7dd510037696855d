#include "app/DynamicValue.h"

#include "app/NumberRules.h"

namespace ambrel {

bool DynamicValue::equalsText(std::string_view text) const {
    const auto* held = std::get_if<std::string>(&value_);
    return held != nullptr && *held == text;
}

double DynamicValue::toNumber() const {
    if (const auto* number = std::get_if<double>(&value_)) {
        return *number;
    }
    if (const auto* text = std::get_if<std::string>(&value_)) {
        return textToNumber(*text);
    }
    return 0.0;
}

std::string DynamicValue::toText() const {
    if (const auto* number = std::get_if<double>(&value_)) {
        return decimalText(*number);
    }
    if (const auto* text = std::get_if<std::string>(&value_)) {
        return *text;
    }
    return {};
}

} // namespace ambrel
