#include "app/DynamicValue.h"
#include "app/NumberRules.h"
#include "app/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace ambrel {
namespace {

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

TEST(DynamicValueTest, EqualsOnlyTheExactText) {
    EXPECT_TRUE(DynamicValue("ON") == "ON");
    EXPECT_FALSE(DynamicValue("ON") == "on");
    EXPECT_FALSE(DynamicValue("ON ") == "ON");
    EXPECT_TRUE(DynamicValue("ALOFF") != "ALON");
    EXPECT_FALSE(DynamicValue() == "");
    EXPECT_FALSE(DynamicValue(0) == "0");
    EXPECT_FALSE(DynamicValue(1.0) == "1");
    EXPECT_TRUE(DynamicValue("") == "");
}

TEST(DynamicValueTest, KnowsItsKind) {
    EXPECT_TRUE(DynamicValue().isEmpty());
    EXPECT_TRUE(DynamicValue(3).isNumber());
    EXPECT_TRUE(DynamicValue("3").isText());
    EXPECT_TRUE(DynamicValue(3).sameAs(DynamicValue(3.0)));
    EXPECT_FALSE(DynamicValue(3).sameAs(DynamicValue("3")));
    EXPECT_FALSE(DynamicValue().sameAs(DynamicValue("")));
}

TEST(DynamicValueTest, ArithmeticTakesEmptyAsZeroAndConvertsNumericText) {
    EXPECT_EQ(DynamicValue().toNumber(), 0.0);
    EXPECT_EQ(DynamicValue(-150.5).toNumber(), -150.5);
    EXPECT_EQ(DynamicValue("1500").toNumber(), 1500.0);
    EXPECT_EQ(DynamicValue(" -2.5 ").toNumber(), -2.5);
    EXPECT_EQ(DynamicValue("1.5E+3").toNumber(), 1500.0);
}

TEST(DynamicValueTest, ArithmeticWithOtherTextIsTypeMismatch) {
    EXPECT_EQ(errorOf([] { DynamicValue("ON").toNumber(); }), kTypeMismatch);
    EXPECT_EQ(errorOf([] { DynamicValue("").toNumber(); }), kTypeMismatch);
    EXPECT_EQ(errorOf([] { DynamicValue("12abc").toNumber(); }), kTypeMismatch);
    EXPECT_EQ(errorOf([] { DynamicValue("１２").toNumber(); }), kTypeMismatch);
    EXPECT_EQ(errorOf([] { DynamicValue("1E+400").toNumber(); }), kOverflow);
}

TEST(DynamicValueTest, AsTextGivesTheTextOrTheDecimalForm) {
    EXPECT_EQ(DynamicValue().toText(), "");
    EXPECT_EQ(DynamicValue("c:\\WINDOWS\\TADA.WAV").toText(), "c:\\WINDOWS\\TADA.WAV");
    EXPECT_EQ(DynamicValue(7).toText(), "7");
    EXPECT_EQ(DynamicValue(-7).toText(), "-7");
    EXPECT_EQ(DynamicValue(2.5).toText(), "2.5");
}

TEST(NumberRulesTest, ParseDecimalAcceptsTheClassicForms) {
    EXPECT_EQ(parseDecimal("10"), 10.0);
    EXPECT_EQ(parseDecimal("  -7  "), -7.0);
    EXPECT_EQ(parseDecimal("+3"), 3.0);
    EXPECT_EQ(parseDecimal(".5"), 0.5);
    EXPECT_EQ(parseDecimal("5."), 5.0);
    EXPECT_EQ(parseDecimal("1.5E+3"), 1500.0);
    EXPECT_EQ(parseDecimal("25e-1"), 2.5);
    EXPECT_EQ(parseDecimal("1E-400"), 0.0);
}

TEST(NumberRulesTest, ParseDecimalRejectsEverythingElse) {
    for (const char* text : {"", " ", "-", ".", "+.", "1E", "1E+", "E3", "1 2", "1,5", "1.2.3",
                             "0x10", "&H10", "ON", "10a", "1E400", "nan", "inf", "１０"}) {
        EXPECT_EQ(parseDecimal(text), std::nullopt) << text;
    }
}

TEST(NumberRulesTest, DecimalTextHasNoSignBlankAndFifteenDigits) {
    EXPECT_EQ(decimalText(7), "7");
    EXPECT_EQ(decimalText(-7), "-7");
    EXPECT_EQ(decimalText(2.5), "2.5");
    EXPECT_EQ(decimalText(-0.0), "0");
    EXPECT_EQ(decimalText(0.1 + 0.2), "0.3");
    EXPECT_EQ(decimalText(123456789012345.0), "123456789012345");
    EXPECT_EQ(decimalText(1e20), "1E+20");
    EXPECT_EQ(decimalText(0.000015), "1.5E-05");
}

TEST(NumberRulesTest, NumberTextPutsABlankForTheSign) {
    EXPECT_EQ(numberText(7), " 7");
    EXPECT_EQ(numberText(-7), "-7");
    EXPECT_EQ(numberText(0), " 0");
    EXPECT_EQ(numberText(-0.0), " 0");
    EXPECT_EQ(numberText(13), " 13");
    EXPECT_EQ(numberText(2.5), " 2.5");
}

TEST(NumberRulesTest, SingleTextWritesWholeValuesAsIntegers) {
    EXPECT_EQ(singleText(0.0f), "0");
    EXPECT_EQ(singleText(-0.0f), "0");
    EXPECT_EQ(singleText(1500.0f), "1500");
    EXPECT_EQ(singleText(-150.0f), "-150");
    EXPECT_EQ(singleText(16777216.0f), "16777216");
}

TEST(NumberRulesTest, SingleTextKeepsSevenSignificantDigitsOfFractions) {
    EXPECT_EQ(singleText(0.5f), "0.5");
    EXPECT_EQ(singleText(-150.25f), "-150.25");
    EXPECT_EQ(singleText(0.1f), "0.1");
    EXPECT_EQ(singleText(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(singleText(12345.678f), "12345.68");
    EXPECT_EQ(singleText(1234567.5f), "1234568");
    EXPECT_EQ(singleText(0.00001f), "1E-05");
    for (const float value : {0.1f, -2.75f, 1.0f / 3.0f, 12345.678f, 0.00001f}) {
        const auto back = parseDecimal(singleText(value));
        ASSERT_TRUE(back.has_value()) << value;
        EXPECT_NEAR(*back, value, std::fabs(value) * 1e-6);
    }
}

TEST(NumberRulesTest, ToInt16CoversTheWholeRange) {
    EXPECT_EQ(toInt16(32767.0), 32767);
    EXPECT_EQ(toInt16(-32768.0), -32768);
    EXPECT_EQ(errorOf([] { toInt16(32768.0); }), kOverflow);
    EXPECT_EQ(errorOf([] { toInt16(-32769.0); }), kOverflow);
    EXPECT_EQ(errorOf([] { toInt16(40000.0); }), kOverflow);
    EXPECT_EQ(errorOf([] { toInt16(std::numeric_limits<double>::quiet_NaN()); }), kOverflow);
    EXPECT_EQ(errorOf([] { toInt16(std::numeric_limits<double>::infinity()); }), kOverflow);
}

TEST(NumberRulesTest, ToInt16RoundsHalvesToEven) {
    EXPECT_EQ(toInt16(0.5), 0);
    EXPECT_EQ(toInt16(1.5), 2);
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-0.5), 0);
    EXPECT_EQ(toInt16(-1.5), -2);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(2.4999), 2);
    EXPECT_EQ(toInt16(2.5001), 3);
    EXPECT_EQ(toInt16(-2.6), -3);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(errorOf([] { toInt16(32767.5); }), kOverflow);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_EQ(errorOf([] { toInt16(-32768.6); }), kOverflow);
}

TEST(NumberRulesTest, ToInt16OfTextAndDynamicValues) {
    EXPECT_EQ(toInt16(" 12 "), 12);
    EXPECT_EQ(toInt16("-32768"), -32768);
    EXPECT_EQ(toInt16("10.5"), 10);
    EXPECT_EQ(toInt16("11.5"), 12);
    EXPECT_EQ(errorOf([] { toInt16("32768"); }), kOverflow);
    EXPECT_EQ(errorOf([] { toInt16("1E+999"); }), kOverflow);
    EXPECT_EQ(errorOf([] { toInt16("ten"); }), kTypeMismatch);
    EXPECT_EQ(errorOf([] { toInt16(""); }), kTypeMismatch);

    EXPECT_EQ(toInt16(DynamicValue()), 0);
    EXPECT_EQ(toInt16(DynamicValue(-7.5)), -8);
    EXPECT_EQ(toInt16(DynamicValue("15")), 15);
    EXPECT_EQ(errorOf([] { toInt16(DynamicValue("ALON")); }), kTypeMismatch);
    EXPECT_EQ(errorOf([] { toInt16(DynamicValue(-32769)); }), kOverflow);
}

} // namespace
} // namespace ambrel
