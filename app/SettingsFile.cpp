#include "app/SettingsFile.h"

#include "app/HeldFileRetry.h"
#include "app/NumberRules.h"
#include "app/Platform.h"
#include "app/RuntimeError.h"

namespace ambrel {

using namespace std::string_view_literals;

extern const std::string_view kDefaultSettingsBytes = "10\r\n"
                                                      "0\r\n"
                                                      "0\r\n"
                                                      "\"ON\"\r\n"
                                                      "\"c:\\WINDOWS\\TADA.WAV\"\r\n"
                                                      "10,10,10\r\n"
                                                      "\"ALOFF\"\r\n"
                                                      "\"D\"\r\n"
                                                      "\"\"\r\n"
                                                      "\"\"\r\n"sv;

namespace {

// Splits the file into items on its raw bytes. That is safe in Shift-JIS: no trail byte of a
// double-byte character equals '"', ',', CR, LF or a space, so only whole items are converted.
// Line ends count as separators only, so the reader never depends on the line structure.
class ItemReader {
public:
    struct Item {
        std::string_view bytes;
        bool quoted = false;
    };

    explicit ItemReader(std::string_view bytes) : bytes_(bytes) {}

    Item next() {
        while (pos_ < bytes_.size() && bytes_[pos_] == ' ') {
            ++pos_;
        }
        if (pos_ >= bytes_.size()) {
            throw RuntimeError(kInputPastEnd);
        }
        Item item;
        if (bytes_[pos_] == '"') {
            const size_t close = bytes_.find('"', pos_ + 1);
            if (close == std::string_view::npos) {
                // An unclosed quote is a damaged file, like one that ends early.
                throw RuntimeError(kInputPastEnd);
            }
            item.bytes = bytes_.substr(pos_ + 1, close - pos_ - 1);
            item.quoted = true;
            pos_ = separatorFrom(close + 1); // anything after the closing quote is dropped
        } else {
            const size_t end = separatorFrom(pos_);
            std::string_view text = bytes_.substr(pos_, end - pos_);
            while (!text.empty() && text.back() == ' ') {
                text.remove_suffix(1);
            }
            item.bytes = text;
            pos_ = end;
        }
        skipSeparator();
        return item;
    }

private:
    size_t separatorFrom(size_t from) const {
        const size_t found = bytes_.find_first_of(",\r\n", from);
        return found == std::string_view::npos ? bytes_.size() : found;
    }

    // A comma, CR LF, or a bare CR or LF ends an item.
    void skipSeparator() {
        if (pos_ >= bytes_.size()) {
            return;
        }
        const char c = bytes_[pos_++];
        if (c == '\r' && pos_ < bytes_.size() && bytes_[pos_] == '\n') {
            ++pos_;
        }
    }

    std::string_view bytes_;
    size_t pos_ = 0;
};

bool isAllBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

int16_t readInteger(ItemReader& reader) {
    const std::string_view text = reader.next().bytes;
    if (isAllBlank(text)) {
        return 0; // an empty item reads as zero in a number field
    }
    return toInt16(text);
}

DynamicValue readDynamic(ItemReader& reader, const AnsiCodePage& codePage) {
    const ItemReader::Item item = reader.next();
    if (item.quoted) {
        return DynamicValue(codePage.toUtf8(item.bytes));
    }
    if (item.bytes.empty()) {
        return DynamicValue();
    }
    if (const auto number = parseDecimal(item.bytes)) {
        return DynamicValue(*number);
    }
    return DynamicValue(codePage.toUtf8(item.bytes));
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

// Nothing in a written text is escaped, so a '"' inside it would end the item early on reading
// back: every later field would shift, and the file could even look damaged and be replaced by
// the defaults. The text's own quotes are therefore written as a closing quotation mark. The
// replacement is made on the converted bytes, where a best-fit conversion may also have produced
// a '"'; in Shift-JIS a byte 0x22 is always a '"' of its own, never part of another character.
std::string quotedText(std::string_view utf8, const AnsiCodePage& codePage) {
    std::string replacement = codePage.fromUtf8("\u201D");
    if (replacement.empty() || replacement.find('"') != std::string::npos) {
        replacement = "'";
    }
    const std::string converted = codePage.fromUtf8(utf8);
    std::string out;
    out.reserve(converted.size() + 2);
    out += '"';
    for (const char c : converted) {
        if (c == '"') {
            out += replacement;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string dynamicItem(const DynamicValue& value, const AnsiCodePage& codePage) {
    if (value.isText()) {
        return quotedText(value.text(), codePage);
    }
    if (value.isNumber()) {
        return decimalText(value.number());
    }
    return {};
}

// The RuntimeError that `step` raised: its number (0 when it raised none) and the file it
// could not write, if that was the failure.
struct StepFailure {
    int number = 0;
    std::string unwritablePath;
};
template <typename Step> StepFailure failureOf(Step step) {
    try {
        step();
    } catch (const FileWriteError& error) {
        return {error.number(), error.path()};
    } catch (const RuntimeError& error) {
        return {error.number(), {}};
    }
    return {};
}

SettingsReadResult ended(SettingsReadOutcome outcome, const StepFailure& failure) {
    return {outcome, failure.number, failure.unwritablePath};
}

} // namespace

void parseSettings(std::string_view bytes, const AnsiCodePage& codePage, Settings& settings) {
    ItemReader reader(bytes);
    settings.textColorIndex = readInteger(reader);
    settings.windowLeft = readDynamic(reader, codePage);
    settings.windowTop = readDynamic(reader, codePage);
    settings.alwaysOnTop = readDynamic(reader, codePage);
    settings.soundFile = readDynamic(reader, codePage);
    settings.alarmHour = readInteger(reader);
    settings.alarmMinute = readInteger(reader);
    settings.alarmSecond = readInteger(reader);
    settings.alarmState = readDynamic(reader, codePage);
    settings.displayMode = DisplayFormat(codePage.toUtf8(reader.next().bytes));
    settings.alarmMessage = readDynamic(reader, codePage);
    settings.timerMessage = readDynamic(reader, codePage);
    // Whatever follows the twelfth item is never looked at.
}

std::string formatSettings(const Settings& settings, float windowLeft, float windowTop,
                           const AnsiCodePage& codePage) {
    std::string out;
    out.reserve(256);
    appendLine(out, std::to_string(settings.textColorIndex));
    appendLine(out, singleText(windowLeft));
    appendLine(out, singleText(windowTop));
    appendLine(out, dynamicItem(settings.alwaysOnTop, codePage));
    appendLine(out, dynamicItem(settings.soundFile, codePage));
    appendLine(out, std::to_string(settings.alarmHour) + "," +
                        std::to_string(settings.alarmMinute) + "," +
                        std::to_string(settings.alarmSecond));
    appendLine(out, dynamicItem(settings.alarmState, codePage));
    appendLine(out, quotedText(settings.displayMode.raw(), codePage));
    appendLine(out, dynamicItem(settings.alarmMessage, codePage));
    appendLine(out, dynamicItem(settings.timerMessage, codePage));
    return out;
}

void SettingsFile::readSettingsFile(Settings& settings) {
    const std::optional<std::string> bytes = store_.read(kSettingsFileName);
    if (!bytes) {
        throw RuntimeError(kFileNotFound);
    }
    parseSettings(*bytes, codePage_, settings);
}

SettingsReadResult SettingsFile::readAtStartup(Settings& settings) {
    const auto read = [&] { readSettingsFile(settings); };
    StepFailure failure = failureOf(read);
    if (failure.number == 0) {
        return {SettingsReadOutcome::Read, 0, {}};
    }
    if (failure.number == kFileNotFound) {
        const StepFailure writeFailure = failureOf([this] { writeDefaultSettingsFile(); });
        if (writeFailure.number != 0) {
            return ended(SettingsReadOutcome::Failed, writeFailure);
        }
        failure = failureOf(read);
        if (failure.number == 0) {
            return {SettingsReadOutcome::DefaultWrittenAndRead, 0, {}};
        }
        if (failure.number == kFileNotFound) {
            return ended(SettingsReadOutcome::StillMissing, failure);
        }
    }
    if (failure.number == kInputPastEnd) {
        // The damaged file may hold hand-made settings: it is kept aside before it is
        // replaced. A copy that cannot be written is reported, and the file is replaced all
        // the same, or every later start would meet it again.
        const StepFailure copyFailure = failureOf([this] { keepDamagedCopy(); });
        if (!copyFailure.unwritablePath.empty()) {
            return ended(SettingsReadOutcome::DamagedNotKeptAside, copyFailure);
        }
        if (copyFailure.number != 0) {
            return ended(SettingsReadOutcome::Failed, copyFailure);
        }
        return ended(SettingsReadOutcome::DamagedAndKeptAside, failure);
    }
    return ended(SettingsReadOutcome::Failed, failure);
}

void SettingsFile::writeDefaultSettingsFile() {
    replaceFile(kSettingsFileName, kDefaultSettingsBytes);
}

void SettingsFile::saveSettingsFile(const Settings& settings, float windowLeft, float windowTop) {
    // Built in memory first and replaced as a whole: a failing save leaves the old file intact
    // instead of a truncated one that the next start would take for a damaged file.
    replaceFile(kSettingsFileName, formatSettings(settings, windowLeft, windowTop, codePage_));
}

void SettingsFile::keepDamagedCopy() {
    const std::optional<std::string> bytes = store_.read(kSettingsFileName);
    if (!bytes) {
        throw RuntimeError(kFileNotFound);
    }
    replaceFile(kDamagedSettingsCopyName, *bytes);
}

void SettingsFile::replaceFile(const std::string& name, std::string_view bytes) {
    try {
        retryWhileHeld(steadyClock_, [&] { store_.replace(name, bytes); });
    } catch (const RuntimeError& error) {
        throw FileWriteError(error.number(), store_.pathOf(name));
    }
}

} // namespace ambrel
