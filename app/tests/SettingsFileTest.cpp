#include "app/SettingsFile.h"

#include "app/HeldFileRetry.h"
#include "app/NumberRules.h"
#include "app/RuntimeError.h"
#include "app/tests/support/Cp932CodePage.h"
#include "app/tests/support/FakePlatform.h"
#include "app/tests/support/MemoryFileStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace ambrel {
namespace {

using namespace std::string_literals;

class SettingsFormatTest : public ::testing::Test {
protected:
    Settings parse(std::string_view bytes) {
        Settings settings;
        parseSettings(bytes, codePage, settings);
        return settings;
    }

    // The error number parseSettings raised, 0 when it read the input; `settings` keeps
    // whatever was read before the failure.
    int parseError(std::string_view bytes, Settings& settings) {
        try {
            parseSettings(bytes, codePage, settings);
        } catch (const RuntimeError& error) {
            return error.number();
        }
        return 0;
    }

    int parseError(std::string_view bytes) {
        Settings settings;
        return parseError(bytes, settings);
    }

    // The default file with line `lineNumber` (1-10) replaced.
    static std::string defaultWithLine(int lineNumber, const std::string& line) {
        std::string bytes(kDefaultSettingsBytes);
        size_t start = 0;
        for (int i = 1; i < lineNumber; ++i) {
            start = bytes.find("\r\n", start) + 2;
        }
        const size_t end = bytes.find("\r\n", start);
        return bytes.replace(start, end - start, line);
    }

    static void expectDefaults(const Settings& s) {
        EXPECT_EQ(s.textColorIndex, 10);
        EXPECT_TRUE(s.windowLeft.sameAs(DynamicValue(0)));
        EXPECT_TRUE(s.windowTop.sameAs(DynamicValue(0)));
        EXPECT_TRUE(s.alwaysOnTop.sameAs(DynamicValue("ON")));
        EXPECT_TRUE(s.soundFile.sameAs(DynamicValue("c:\\WINDOWS\\TADA.WAV")));
        EXPECT_EQ(s.alarmHour, 10);
        EXPECT_EQ(s.alarmMinute, 10);
        EXPECT_EQ(s.alarmSecond, 10);
        EXPECT_TRUE(s.alarmState.sameAs(DynamicValue("ALOFF")));
        EXPECT_EQ(s.displayMode, "D");
        EXPECT_TRUE(s.alarmMessage.sameAs(DynamicValue("")));
        EXPECT_TRUE(s.timerMessage.sameAs(DynamicValue("")));
    }

    Cp932CodePage codePage;
};

TEST_F(SettingsFormatTest, DefaultFileIsExactly71BytesAndReadsAsTheDefaults) {
    EXPECT_EQ(kDefaultSettingsBytes.size(), 71u);
    EXPECT_EQ(kDefaultSettingsBytes.substr(0, 8), "10\r\n0\r\n0");
    EXPECT_EQ(kDefaultSettingsBytes.substr(63), "\"\"\r\n\"\"\r\n");
    expectDefaults(parse(kDefaultSettingsBytes));
}

TEST_F(SettingsFormatTest, DefaultRecordIsWrittenAsTheDefaultFile) {
    EXPECT_EQ(formatSettings(parse(kDefaultSettingsBytes), 0.0f, 0.0f, codePage),
              kDefaultSettingsBytes);
}

TEST_F(SettingsFormatTest, WritesEveryKindOfItemInTheFileForm) {
    Settings s;
    s.textColorIndex = 13;
    s.windowLeft = DynamicValue("ignored: the window's real position is written");
    s.alwaysOnTop = DynamicValue("OFF");
    s.soundFile = DynamicValue("C:\\サウンド\\ベル.wav");
    s.alarmHour = 7;
    s.alarmMinute = -5;
    s.alarmSecond = 0;
    s.alarmState = DynamicValue(2.5);
    s.displayMode = "T";
    s.alarmMessage = DynamicValue("起きて");
    s.timerMessage = DynamicValue();

    const std::string expected =
        "13\r\n"
        "1500\r\n"
        "-150.25\r\n"
        "\"OFF\"\r\n"
        "\"C:\\\x83\x54\x83\x45\x83\x93\x83\x68\\\x83\x78\x83\x8B.wav\"\r\n"
        "7,-5,0\r\n"
        "2.5\r\n"
        "\"T\"\r\n"
        "\"\x8B\x4E\x82\xAB\x82\xC4\"\r\n"
        "\r\n"s;
    EXPECT_EQ(formatSettings(s, 1500.0f, -150.25f, codePage), expected);
}

// A hand-edited word means "off" (or the time format) to the program, yet the file gets back
// what the user wrote until the program itself sets the value.
TEST_F(SettingsFormatTest, HandEditedWordsAreWrittenBackAsRead) {
    const std::string edited = "10\r\n0\r\n0\r\n"
                               "\"on\"\r\n"
                               "\"c:\\WINDOWS\\TADA.WAV\"\r\n"
                               "10,10,10\r\n"
                               "1\r\n"
                               "\"t\"\r\n"
                               "\"\"\r\n\"\"\r\n"s;
    const Settings s = parse(edited);
    EXPECT_FALSE(s.alwaysOnTop.isOn());
    EXPECT_FALSE(s.alarmState.isArmed());
    EXPECT_FALSE(s.displayMode.isTime());
    EXPECT_FALSE(s.displayMode.isDate());
    EXPECT_EQ(formatSettings(s, 0.0f, 0.0f, codePage), edited);

    const std::string numbers = "10\r\n0\r\n0\r\n"
                                "2\r\n"
                                "\"c:\\WINDOWS\\TADA.WAV\"\r\n"
                                "10,10,10\r\n"
                                "0\r\n"
                                "\"D\"\r\n"
                                "\"\"\r\n\"\"\r\n"s;
    const Settings n = parse(numbers);
    EXPECT_TRUE(n.alwaysOnTop.sameAs(DynamicValue(2)));
    EXPECT_TRUE(n.alarmState.sameAs(DynamicValue(0)));
    EXPECT_EQ(formatSettings(n, 0.0f, 0.0f, codePage), numbers);
}

// The words the program writes itself are the ones it reads as on, armed and each format.
TEST_F(SettingsFormatTest, WordsTheProgramSetsReadBackWithTheirMeaning) {
    Settings s = parse(kDefaultSettingsBytes);
    for (const bool on : {false, true}) {
        s.alwaysOnTop = KeepOnTopSwitch::of(on);
        s.alarmState = AlarmSwitch::of(on);
        s.displayMode = on ? DisplayFormat::time() : DisplayFormat::date();
        const Settings back = parse(formatSettings(s, 0.0f, 0.0f, codePage));
        EXPECT_EQ(back.alwaysOnTop.isOn(), on);
        EXPECT_EQ(back.alarmState.isArmed(), on);
        EXPECT_EQ(back.displayMode.isTime(), on);
        EXPECT_EQ(back.displayMode.isDate(), !on);
    }
    EXPECT_EQ(DisplayFormat::time().switched(), DisplayFormat::date());
    EXPECT_EQ(DisplayFormat::date().switched(), DisplayFormat::time());
    EXPECT_EQ(DisplayFormat("t").switched(), DisplayFormat::time());
}

TEST_F(SettingsFormatTest, ReadsItemsAcrossLinesWithBlanksAndJunkAroundThem) {
    const Settings s = parse("  11 ,  12.5  \r\n"
                             "OFF  ,  \"C:\\a.wav\"junk after the quote\r\n"
                             "1,2\r\n"
                             "3\r\n"
                             "4\r\n"
                             "ALON\r\n"
                             "T  \r\n"
                             "\r\n"
                             "\"x\"\r\n");
    EXPECT_EQ(s.textColorIndex, 11);
    EXPECT_TRUE(s.windowLeft.sameAs(DynamicValue(12.5)));
    EXPECT_TRUE(s.windowTop.sameAs(DynamicValue("OFF")));
    EXPECT_TRUE(s.alwaysOnTop.sameAs(DynamicValue("C:\\a.wav")));
    EXPECT_TRUE(s.soundFile.sameAs(DynamicValue(1)));
    EXPECT_EQ(s.alarmHour, 2);
    EXPECT_EQ(s.alarmMinute, 3);
    EXPECT_EQ(s.alarmSecond, 4);
    EXPECT_TRUE(s.alarmState.sameAs(DynamicValue("ALON")));
    EXPECT_EQ(s.displayMode, "T");
    EXPECT_TRUE(s.alarmMessage.isEmpty());
    EXPECT_TRUE(s.timerMessage.sameAs(DynamicValue("x")));
}

TEST_F(SettingsFormatTest, UnquotedItemsBecomeNumbersTextsOrEmptyValues) {
    const Settings s = parse("5\r\n 1500 \r\n-1.5E+2\r\nON\r\n\r\n1,2,3\r\n  \r\nT\r\n"
                             "\"12\"\r\n\"multi\r\nline, with comma\"\r\n");
    EXPECT_EQ(s.textColorIndex, 5);
    EXPECT_TRUE(s.windowLeft.sameAs(DynamicValue(1500)));
    EXPECT_TRUE(s.windowTop.sameAs(DynamicValue(-150)));
    EXPECT_TRUE(s.alwaysOnTop.sameAs(DynamicValue("ON")));
    EXPECT_TRUE(s.soundFile.isEmpty());
    EXPECT_TRUE(s.alarmState.isEmpty());
    EXPECT_EQ(s.displayMode, "T");
    EXPECT_TRUE(s.alarmMessage.sameAs(DynamicValue("12")));
    EXPECT_TRUE(s.timerMessage.sameAs(DynamicValue("multi\r\nline, with comma")));
}

TEST_F(SettingsFormatTest, QuotedTextOnAPositionLineIsReadAndFailsOnlyInArithmetic) {
    const Settings s = parse(defaultWithLine(2, "\"left\""));
    EXPECT_TRUE(s.windowLeft.sameAs(DynamicValue("left")));
    try {
        s.windowLeft.toNumber();
        FAIL() << "a text position must not convert";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), kTypeMismatch);
    }
}

TEST_F(SettingsFormatTest, EmptyAndEveryTruncatedFileEndsEarly) {
    EXPECT_EQ(parseError(""), kInputPastEnd);
    EXPECT_EQ(parseError("\r\n\r\n"), kInputPastEnd);
    // The twelfth item is complete once its closing quote is there (69 bytes); every shorter
    // prefix of the default file must read as a damaged one.
    for (size_t length = 0; length <= kDefaultSettingsBytes.size(); ++length) {
        Settings s;
        const int error = parseError(kDefaultSettingsBytes.substr(0, length), s);
        if (length < 69) {
            EXPECT_EQ(error, kInputPastEnd) << "length " << length;
        } else {
            EXPECT_EQ(error, 0) << "length " << length;
            expectDefaults(s);
        }
    }
}

TEST_F(SettingsFormatTest, UnclosedQuoteIsADamagedFile) {
    EXPECT_EQ(parseError(defaultWithLine(10, "\"no end")), kInputPastEnd);
    EXPECT_EQ(parseError("\"10\r\n0\r\n0\r\n"), kInputPastEnd);
}

TEST_F(SettingsFormatTest, TextInAnIntegerFieldIsTypeMismatch) {
    EXPECT_EQ(parseError(defaultWithLine(1, "red")), kTypeMismatch);
    EXPECT_EQ(parseError(defaultWithLine(1, "\"red\"")), kTypeMismatch);
    EXPECT_EQ(parseError(defaultWithLine(6, "10,1O,10")), kTypeMismatch);
    EXPECT_EQ(parseError(defaultWithLine(6, "10,10,\x82\x50")), kTypeMismatch); // full-width 1
}

TEST_F(SettingsFormatTest, FieldsBeforeAFailureKeepTheirNewValues) {
    Settings s;
    s.alarmMinute = 42;
    s.alarmState = DynamicValue("untouched");
    EXPECT_EQ(parseError(defaultWithLine(6, "7,x,10"), s), kTypeMismatch);
    EXPECT_EQ(s.textColorIndex, 10);
    EXPECT_TRUE(s.soundFile.sameAs(DynamicValue("c:\\WINDOWS\\TADA.WAV")));
    EXPECT_EQ(s.alarmHour, 7);
    EXPECT_EQ(s.alarmMinute, 42);
    EXPECT_TRUE(s.alarmState.sameAs(DynamicValue("untouched")));

    Settings t;
    EXPECT_EQ(parseError(kDefaultSettingsBytes.substr(0, 40), t), kInputPastEnd); // ends "10,1"
    EXPECT_EQ(t.alarmHour, 1);
    EXPECT_EQ(t.alarmMinute, 0);
    EXPECT_TRUE(t.soundFile.sameAs(DynamicValue("c:\\WINDOWS\\TADA.WAV")));
}

TEST_F(SettingsFormatTest, IntegersOutsideSixteenBitsOverflow) {
    EXPECT_EQ(parseError(defaultWithLine(1, "40000")), kOverflow);
    EXPECT_EQ(parseError(defaultWithLine(6, "10,10,-32769")), kOverflow);
    EXPECT_EQ(parseError(defaultWithLine(6, "32768,10,10")), kOverflow);
    const Settings s = parse(defaultWithLine(6, "32767,-32768,\"\""));
    EXPECT_EQ(s.alarmHour, 32767);
    EXPECT_EQ(s.alarmMinute, -32768);
    EXPECT_EQ(s.alarmSecond, 0);
}

TEST_F(SettingsFormatTest, FractionsInIntegerFieldsRoundHalfToEven) {
    EXPECT_EQ(parse(defaultWithLine(1, "10.5")).textColorIndex, 10);
    EXPECT_EQ(parse(defaultWithLine(1, "11.5")).textColorIndex, 12);
    const Settings s = parse(defaultWithLine(6, "0.5,1.5,-2.5"));
    EXPECT_EQ(s.alarmHour, 0);
    EXPECT_EQ(s.alarmMinute, 2);
    EXPECT_EQ(s.alarmSecond, -2);
    EXPECT_TRUE(parse(defaultWithLine(2, "150.75")).windowLeft.sameAs(DynamicValue(150.75)));
}

TEST_F(SettingsFormatTest, BareLineFeedsAndCarriageReturnsEndLinesToo) {
    std::string lf;
    std::string cr;
    for (const char c : kDefaultSettingsBytes) {
        if (c != '\r') {
            lf += c;
        }
        if (c != '\n') {
            cr += c;
        }
    }
    expectDefaults(parse(lf));
    expectDefaults(parse(cr));
}

TEST_F(SettingsFormatTest, AnythingAfterTheTenthLineIsIgnored) {
    expectDefaults(
        parse(std::string(kDefaultSettingsBytes) + "11\r\n\"extra\"\r\n40000,x\r\n\"open"));
}

TEST_F(SettingsFormatTest, InvalidShiftJisBytesNeverBreakTheReader) {
    const Settings s =
        parse(defaultWithLine(9, "\"\x82\xA0\xFF\x81\"") + "\xFD\xFE\x80\x81"); // あ, then junk
    EXPECT_TRUE(s.alarmMessage.isText());
    EXPECT_EQ(s.alarmMessage.text().rfind("あ", 0), 0u);
    EXPECT_GT(s.alarmMessage.text().size(), std::string("あ").size());
    EXPECT_TRUE(s.timerMessage.sameAs(DynamicValue("")));

    const Settings t = parse(defaultWithLine(4, "\xFF\xFE junk"));
    EXPECT_TRUE(t.alwaysOnTop.isText());
    EXPECT_FALSE(t.alwaysOnTop == "ON");
    // A lead byte right before the closing quote must not swallow it.
    EXPECT_TRUE(parse(defaultWithLine(5, "\"\x83\"")).alarmState.sameAs(DynamicValue("ALOFF")));
}

TEST_F(SettingsFormatTest, TenMegabyteFilesAreHandled) {
    const size_t tenMegabytes = 10u << 20;
    std::string big(kDefaultSettingsBytes);
    big.append(tenMegabytes, 'x');
    expectDefaults(parse(big));

    EXPECT_EQ(parseError(std::string(tenMegabytes, '7')), kOverflow);
    EXPECT_EQ(parseError(std::string(tenMegabytes, 'x')), kTypeMismatch);
    EXPECT_EQ(parseError("\"" + std::string(tenMegabytes, 'x')), kInputPastEnd);
    Settings commas;
    EXPECT_EQ(parseError(std::string(tenMegabytes, ','), commas), 0); // twelve empty items
    EXPECT_EQ(commas.alarmSecond, 0);
    EXPECT_TRUE(commas.timerMessage.isEmpty());
    EXPECT_EQ(parseError(std::string(tenMegabytes, ' ')), kInputPastEnd);
}

TEST_F(SettingsFormatTest, CommaAndLineBreakInsideAMessageRoundTrip) {
    Settings s = parse(kDefaultSettingsBytes);
    s.alarmMessage = DynamicValue("起きて, 今すぐ,\r\n二行目");
    const Settings back = parse(formatSettings(s, 0.0f, 0.0f, codePage));
    EXPECT_TRUE(back.alarmMessage.sameAs(s.alarmMessage));
    EXPECT_TRUE(back.timerMessage.sameAs(DynamicValue("")));
}

TEST_F(SettingsFormatTest, QuoteInsideATextIsWrittenAsAClosingQuotationMark) {
    Settings s = parse(kDefaultSettingsBytes);
    s.soundFile = DynamicValue("C:\\\"sounds\"\\bell.wav");
    s.displayMode = "T\"";
    s.alarmMessage = DynamicValue("say \"hi\", please");
    s.timerMessage = DynamicValue("done");
    s.alarmHour = 6;

    const std::string bytes = formatSettings(s, 30.0f, 45.0f, codePage);
    EXPECT_NE(bytes.find("\"say \x81\x68hi\x81\x68, please\"\r\n"), std::string::npos);

    const Settings back = parse(bytes);
    EXPECT_TRUE(back.soundFile.sameAs(DynamicValue("C:\\”sounds”\\bell.wav")));
    EXPECT_EQ(back.alarmHour, 6);
    EXPECT_EQ(back.alarmMinute, 10);
    EXPECT_EQ(back.alarmSecond, 10);
    EXPECT_TRUE(back.alarmState.sameAs(DynamicValue("ALOFF")));
    EXPECT_EQ(back.displayMode, "T”");
    EXPECT_TRUE(back.alarmMessage.sameAs(DynamicValue("say ”hi”, please")));
    EXPECT_TRUE(back.timerMessage.sameAs(DynamicValue("done")));
}

// Random records of every kind of value, written and read back, must come back field for field.
class SettingsRoundTripTest : public SettingsFormatTest {
protected:
    std::string randomText() {
        // Characters whose second byte in Shift-JIS is a backslash, '|' or '~' (ソ 表 ポ), and
        // the separators of the file, are the interesting ones.
        static const char* const pieces[] = {"a",    "Z",  "0",  "9",  " ",  ",",  "\r", "\n",
                                             "\r\n", "\\", "~",  "'",  "!",  "#",  "-",  ".",
                                             "あ",   "漢", "字", "ソ", "表", "ポ", "ｱ",  "ﾗ",
                                             "ｰ",    "ﾑ",  "ー", "、", "。", "①",  "＝", "　"};
        std::uniform_int_distribution<int> length(0, 24);
        std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += pieces[piece(random)];
        }
        return text;
    }

    // A decimal of at most 13 significant digits, which 15-digit output brings back exactly.
    double randomNumber() {
        std::uniform_int_distribution<long long> whole(-9999999, 9999999);
        std::uniform_int_distribution<int> fractionDigits(0, 6);
        std::uniform_int_distribution<int> digit(0, 9);
        std::string text = std::to_string(whole(random));
        const int digits = fractionDigits(random);
        if (digits > 0) {
            text += '.';
            for (int i = 0; i < digits; ++i) {
                text += static_cast<char>('0' + digit(random));
            }
        }
        return *parseDecimal(text);
    }

    DynamicValue randomDynamic() {
        switch (std::uniform_int_distribution<int>(0, 3)(random)) {
        case 0:
            return DynamicValue();
        case 1:
            return DynamicValue(randomNumber());
        case 2:
            return DynamicValue(decimalText(randomNumber())); // a number kept as text
        default:
            return DynamicValue(randomText());
        }
    }

    int16_t randomInt16() {
        return static_cast<int16_t>(std::uniform_int_distribution<int>(-32768, 32767)(random));
    }

    float randomPosition() {
        if (std::uniform_int_distribution<int>(0, 1)(random) == 0) {
            return static_cast<float>(std::uniform_int_distribution<int>(-200000, 200000)(random));
        }
        return std::uniform_real_distribution<float>(-200000.0f, 200000.0f)(random);
    }

    std::mt19937 random{20240517};
};

TEST_F(SettingsRoundTripTest, RandomRecordsReadBackFieldForField) {
    for (int round = 0; round < 500; ++round) {
        Settings s;
        s.textColorIndex = randomInt16();
        s.alwaysOnTop = randomDynamic();
        s.soundFile = randomDynamic();
        s.alarmHour = randomInt16();
        s.alarmMinute = randomInt16();
        s.alarmSecond = randomInt16();
        s.alarmState = randomDynamic();
        s.displayMode = randomText();
        s.alarmMessage = randomDynamic();
        s.timerMessage = randomDynamic();
        const float left = randomPosition();
        const float top = randomPosition();

        const std::string bytes = formatSettings(s, left, top, codePage);
        Settings back;
        ASSERT_EQ(parseError(bytes, back), 0) << bytes;

        SCOPED_TRACE(bytes);
        EXPECT_EQ(back.textColorIndex, s.textColorIndex);
        ASSERT_TRUE(back.windowLeft.isNumber());
        ASSERT_TRUE(back.windowTop.isNumber());
        EXPECT_NEAR(back.windowLeft.number(), left, std::fabs(left) * 1e-6);
        EXPECT_NEAR(back.windowTop.number(), top, std::fabs(top) * 1e-6);
        EXPECT_TRUE(back.alwaysOnTop.sameAs(s.alwaysOnTop));
        EXPECT_TRUE(back.soundFile.sameAs(s.soundFile));
        EXPECT_EQ(back.alarmHour, s.alarmHour);
        EXPECT_EQ(back.alarmMinute, s.alarmMinute);
        EXPECT_EQ(back.alarmSecond, s.alarmSecond);
        EXPECT_TRUE(back.alarmState.sameAs(s.alarmState));
        EXPECT_EQ(back.displayMode, s.displayMode);
        EXPECT_TRUE(back.alarmMessage.sameAs(s.alarmMessage));
        EXPECT_TRUE(back.timerMessage.sameAs(s.timerMessage));
        if (HasFailure()) {
            break;
        }
    }
}

class SettingsFileTest : public ::testing::Test {
protected:
    MemoryFileStore store;
    Cp932CodePage codePage;
    testing::FakeSteadyClock steadyClock;
    SettingsFile file{store, codePage, steadyClock};
};

TEST_F(SettingsFileTest, MissingFileIsFileNotFound) {
    Settings s;
    try {
        file.readSettingsFile(s);
        FAIL() << "no error for a missing file";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), kFileNotFound);
    }
}

TEST_F(SettingsFileTest, ReadFailureOfTheStoreComesThrough) {
    store.files[kSettingsFileName] = std::string(kDefaultSettingsBytes);
    store.readError = kPathAccessError;
    Settings s;
    try {
        file.readSettingsFile(s);
        FAIL() << "no error for an unreadable file";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), kPathAccessError);
    }
}

TEST_F(SettingsFileTest, DefaultFileIsWrittenAndReadBack) {
    store.files[kSettingsFileName] = "garbage";
    file.writeDefaultSettingsFile();
    EXPECT_EQ(store.files[kSettingsFileName], kDefaultSettingsBytes);
    Settings s;
    file.readSettingsFile(s);
    EXPECT_EQ(s.textColorIndex, 10);
    EXPECT_EQ(s.displayMode, "D");
}

TEST_F(SettingsFileTest, SaveWritesTheRecordWithTheWindowPosition) {
    Settings s;
    parseSettings(kDefaultSettingsBytes, codePage, s);
    s.alarmMessage = DynamicValue("お昼");
    file.saveSettingsFile(s, 1500.0f, 300.0f);
    EXPECT_EQ(store.files[kSettingsFileName], formatSettings(s, 1500.0f, 300.0f, codePage));

    Settings back;
    file.readSettingsFile(back);
    EXPECT_TRUE(back.windowLeft.sameAs(DynamicValue(1500)));
    EXPECT_TRUE(back.windowTop.sameAs(DynamicValue(300)));
    EXPECT_TRUE(back.alarmMessage.sameAs(DynamicValue("お昼")));
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileWhole) {
    store.files[kSettingsFileName] = std::string(kDefaultSettingsBytes);
    store.replaceError = kDiskFull;
    Settings s;
    s.textColorIndex = 14;
    try {
        file.saveSettingsFile(s, 0.0f, 0.0f);
        FAIL() << "no error for a failed save";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), kDiskFull);
    }
    EXPECT_EQ(store.files[kSettingsFileName], kDefaultSettingsBytes);
    EXPECT_EQ(steadyClock.sleeps, 0); // only a held file is waited for
}

TEST_F(SettingsFileTest, DamagedFileIsCopiedAside) {
    store.files[kSettingsFileName] = "10\r\n\"bro";
    file.keepDamagedCopy();
    EXPECT_EQ(store.files[kDamagedSettingsCopyName], "10\r\n\"bro");
    EXPECT_EQ(store.files[kSettingsFileName], "10\r\n\"bro");
}

TEST_F(SettingsFileTest, CopyAsideReportsEveryFailureWithItsNumber) {
    const auto failure = [this] {
        try {
            file.keepDamagedCopy();
        } catch (const RuntimeError& error) {
            return error.number();
        }
        return 0;
    };
    EXPECT_EQ(failure(), kFileNotFound); // no file at all

    store.files[kSettingsFileName] = "x";
    store.replaceError = kPathAccessError;
    store.failingName = kDamagedSettingsCopyName;
    EXPECT_EQ(failure(), kPathAccessError);
    EXPECT_EQ(store.files.count(kDamagedSettingsCopyName), 0u);

    store.replaceError = kDiskFull;
    EXPECT_EQ(failure(), kDiskFull);

    store.replaceError.reset();
    store.readError = kPathAccessError;
    store.failingName.clear();
    EXPECT_EQ(failure(), kPathAccessError);
}

// Start-up's read, one outcome for each state the file can be found in.
TEST_F(SettingsFileTest, StartupReadNamesWhatItFoundAndRepaired) {
    Settings s;
    SettingsReadResult result = file.readAtStartup(s);
    EXPECT_EQ(result.outcome, SettingsReadOutcome::DefaultWrittenAndRead);
    EXPECT_TRUE(result.isRead());
    EXPECT_EQ(store.files[kSettingsFileName], kDefaultSettingsBytes);
    EXPECT_EQ(s.textColorIndex, 10);

    result = file.readAtStartup(s);
    EXPECT_EQ(result.outcome, SettingsReadOutcome::Read);

    store.files[kSettingsFileName] = "10\r\n\"bro";
    result = file.readAtStartup(s);
    EXPECT_EQ(result.outcome, SettingsReadOutcome::DamagedAndKeptAside);
    EXPECT_FALSE(result.isRead());
    EXPECT_EQ(store.files[kDamagedSettingsCopyName], "10\r\n\"bro");
    EXPECT_EQ(store.files[kSettingsFileName], "10\r\n\"bro"); // the caller replaces it

    store.files[kSettingsFileName] = "\"x\"\r\n";
    result = file.readAtStartup(s);
    EXPECT_EQ(result.outcome, SettingsReadOutcome::Failed);
    EXPECT_EQ(result.errorNumber, kTypeMismatch);
}

TEST_F(SettingsFileTest, StartupReadReportsAFailedRepairWithItsNumberAndTheFileItCouldNotWrite) {
    Settings s;
    store.replaceError = kDiskFull;
    SettingsReadResult result = file.readAtStartup(s); // no file, and no default can be written
    EXPECT_EQ(result.outcome, SettingsReadOutcome::Failed);
    EXPECT_EQ(result.errorNumber, kDiskFull);

    store.files[kSettingsFileName] = "1"; // damaged, and its copy cannot be written
    store.replaceError = kPathAccessError;
    result = file.readAtStartup(s);
    EXPECT_EQ(result.outcome, SettingsReadOutcome::DamagedNotKeptAside);
    EXPECT_EQ(result.errorNumber, kPathAccessError);
    EXPECT_EQ(result.unwritablePath, "C:\\Ambrel\\AMBREL.BAK");
    EXPECT_EQ(store.files.count(kDamagedSettingsCopyName), 0u);

    store.files.clear();
    store.replaceError.reset();
    store.readError = kPathAccessError;
    result = file.readAtStartup(s);
    EXPECT_EQ(result.outcome, SettingsReadOutcome::Failed);
    EXPECT_EQ(result.errorNumber, kPathAccessError);
}

TEST_F(SettingsFileTest, AHeldFileIsWaitedForUpToTwoSecondsAndThenNamed) {
    Settings s;
    parseSettings(kDefaultSettingsBytes, codePage, s);
    const std::string saved = formatSettings(s, 15.0f, 15.0f, codePage);
    int64_t releasedAt = 1990;
    store.held = [&] { return steadyClock.now < releasedAt; };
    file.saveSettingsFile(s, 15.0f, 15.0f);
    EXPECT_EQ(store.files[kSettingsFileName], saved);
    EXPECT_LT(steadyClock.now, releasedAt + kHeldFileRetryPauseMs);

    steadyClock.now = 0;
    releasedAt = 2100;
    try {
        file.saveSettingsFile(s, 30.0f, 30.0f);
        FAIL() << "a file held past the deadline was replaced";
    } catch (const FileWriteError& error) {
        EXPECT_EQ(error.number(), kPathAccessError);
        EXPECT_EQ(error.path(), "C:\\Ambrel\\AMBREL.SET");
    }
    EXPECT_GE(steadyClock.now, kHeldFileDeadlineMs);
    EXPECT_EQ(store.files[kSettingsFileName], saved);
}

} // namespace
} // namespace ambrel
