#pragma once
// The help text as written in resources/help: a plain UTF-8 file, one paragraph a line.
//
//   @title Ambrel V2 ヘルプ      the help file's title (the viewer's caption)
//   # 画面の見かた               starts a topic; the first topic is the contents topic
//   ## 表示形式                  a heading inside a topic
//   any other text              one paragraph
//   (empty line)                an empty paragraph, for spacing
//   ; comment                   ignored
//
// Lines end in LF or CR LF. Empty lines right after a topic title and at the end of a topic
// are dropped, so the source can be spaced freely without changing the layout.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ambrel {

struct HelpParagraph {
    enum class Kind { Body, Heading, Blank };
    Kind kind = Kind::Body;
    std::string text;
};

struct HelpTopic {
    std::string title;
    std::vector<HelpParagraph> paragraphs;
};

struct HelpDocument {
    std::string title;
    std::vector<HelpTopic> topics;
};

// A malformed source; the message names the line.
class HelpSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

HelpDocument parseHelpSource(std::string_view text);

// Applies `convert` to every text of the document (titles, headings, paragraphs).
template <typename Convert> HelpDocument convertTexts(const HelpDocument& doc, Convert convert) {
    HelpDocument out;
    out.title = convert(doc.title);
    for (const HelpTopic& topic : doc.topics) {
        HelpTopic t;
        t.title = convert(topic.title);
        for (const HelpParagraph& p : topic.paragraphs) {
            t.paragraphs.push_back({p.kind, convert(p.text)});
        }
        out.topics.push_back(std::move(t));
    }
    return out;
}

} // namespace ambrel
