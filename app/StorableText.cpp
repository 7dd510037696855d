#include "app/StorableText.h"

#include "app/Platform.h"

namespace ambrel {

namespace {

// The length of the UTF-8 sequence that starts with `lead`; a stray byte counts as one.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

bool comesBack(const AnsiCodePage& codePage, std::string_view text) {
    return codePage.toUtf8(codePage.fromUtf8(text)) == text;
}

} // namespace

std::string charactersLost(const AnsiCodePage& codePage, std::string_view text) {
    // The usual case costs one round trip; only text that fails it is taken apart.
    if (comesBack(codePage, text)) {
        return {};
    }
    std::string lost;
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view character =
            text.substr(at, sequenceLength(static_cast<unsigned char>(text[at])));
        at += character.size();
        if (lost.find(character) == std::string::npos && !comesBack(codePage, character)) {
            lost += character;
        }
    }
    return lost;
}

std::string unquotedPath(std::string_view text) {
    const std::size_t first = text.find_first_not_of('"');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of('"') - first + 1));
}

std::optional<std::string> storablePath(const std::string& path, const AnsiCodePage& codePage,
                                        const FileNames& names) {
    if (comesBack(codePage, path)) {
        return path;
    }
    const std::optional<std::string> shortPath = names.shortPathOf(path);
    if (shortPath && comesBack(codePage, *shortPath)) {
        return shortPath;
    }
    return std::nullopt;
}

} // namespace ambrel
