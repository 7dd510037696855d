#include "HelpSource.h"

namespace ambrel {
namespace {

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    return s;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

void dropTrailingBlanks(HelpTopic& topic) {
    while (!topic.paragraphs.empty() &&
           topic.paragraphs.back().kind == HelpParagraph::Kind::Blank) {
        topic.paragraphs.pop_back();
    }
}

[[noreturn]] void fail(int lineNumber, const std::string& what) {
    throw HelpSourceError("line " + std::to_string(lineNumber) + ": " + what);
}

} // namespace

HelpDocument parseHelpSource(std::string_view text) {
    // A UTF-8 byte order mark from an editor is not part of the first line.
    if (startsWith(text, "\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    HelpDocument doc;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trimRight(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;

        if (startsWith(line, ";")) {
            continue;
        }
        if (startsWith(line, "@title")) {
            if (!doc.topics.empty()) {
                fail(lineNumber, "@title must come before the first topic");
            }
            doc.title = std::string(trimLeft(line.substr(6)));
            continue;
        }
        if (startsWith(line, "@")) {
            fail(lineNumber, "unknown directive");
        }
        if (startsWith(line, "##")) {
            if (doc.topics.empty()) {
                fail(lineNumber, "heading outside a topic");
            }
            const std::string_view heading = trimLeft(line.substr(2));
            if (heading.empty()) {
                fail(lineNumber, "empty heading");
            }
            doc.topics.back().paragraphs.push_back(
                {HelpParagraph::Kind::Heading, std::string(heading)});
            continue;
        }
        if (startsWith(line, "#")) {
            const std::string_view title = trimLeft(line.substr(1));
            if (title.empty()) {
                fail(lineNumber, "topic without a title");
            }
            if (!doc.topics.empty()) {
                dropTrailingBlanks(doc.topics.back());
            }
            doc.topics.push_back({std::string(title), {}});
            continue;
        }
        if (line.empty()) {
            if (!doc.topics.empty() && !doc.topics.back().paragraphs.empty()) {
                doc.topics.back().paragraphs.push_back({HelpParagraph::Kind::Blank, {}});
            }
            continue;
        }
        if (doc.topics.empty()) {
            fail(lineNumber, "text before the first topic");
        }
        doc.topics.back().paragraphs.push_back({HelpParagraph::Kind::Body, std::string(line)});
    }
    if (doc.topics.empty()) {
        throw HelpSourceError("no topic");
    }
    dropTrailingBlanks(doc.topics.back());
    if (doc.title.empty()) {
        throw HelpSourceError("no @title");
    }
    return doc;
}

} // namespace ambrel
