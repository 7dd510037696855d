#include "PlainText.h"

#include <algorithm>

namespace ambrel {
namespace {

// One character: its bytes and its code point.
struct Glyph {
    std::string_view bytes;
    char32_t code;
};

std::vector<Glyph> glyphs(std::string_view text) {
    std::vector<Glyph> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.push_back({text.substr(i, length), code});
        i += length;
    }
    return out;
}

int columnsOf(char32_t code) {
    // ASCII and the half-width katakana are single bytes in Shift-JIS.
    return code < 0x80 || (code >= 0xFF61 && code <= 0xFF9F) ? 1 : 2;
}

bool isAsciiWordPart(char32_t code) {
    return code > 0x20 && code < 0x80;
}

// Marks that never begin a line: they hang over the right edge instead.
bool mayNotStartLine(char32_t code) {
    static const std::u32string marks =
        U"、。，．・：；？！）」』】〕］｝〉》”’ー～ぁぃぅぇぉっゃゅょァィゥェォッャュョ"
        U",.:;!?)]}";
    return marks.find(code) != std::u32string::npos;
}

// Brackets that never end a line: they move to the next one with what they open.
bool mayNotEndLine(char32_t code) {
    static const std::u32string marks = U"（「『【〔［｛〈《“‘([{";
    return marks.find(code) != std::u32string::npos;
}

// A piece that is kept whole unless it is wider than a line: a run of ASCII without spaces, or
// one other character.
struct Piece {
    std::string text;
    int columns = 0;
    char32_t first = 0;
    char32_t last = 0;
    bool spaceBefore = false;
};

std::vector<Piece> pieces(std::string_view text) {
    std::vector<Piece> out;
    bool space = false;
    bool inWord = false;
    for (const Glyph& g : glyphs(text)) {
        if (g.code == U' ') {
            space = true;
            inWord = false;
            continue;
        }
        const bool word = isAsciiWordPart(g.code);
        if (!(word && inWord)) {
            out.push_back({});
            out.back().first = g.code;
            out.back().spaceBefore = space;
        }
        Piece& piece = out.back();
        piece.text += g.bytes;
        piece.columns += columnsOf(g.code);
        piece.last = g.code;
        space = false;
        inWord = word;
    }
    return out;
}

} // namespace

int textColumns(std::string_view text) {
    int columns = 0;
    for (const Glyph& g : glyphs(text)) {
        columns += columnsOf(g.code);
    }
    return columns;
}

std::vector<std::string> wrapParagraph(std::string_view text, int columns, int indent) {
    std::vector<std::string> lines;
    std::vector<Piece> line; // pieces of the line being filled
    int used = 0;
    const auto lineStart = [&] { return lines.empty() ? 0 : indent; };
    const auto widthOf = [](const Piece& p, bool first) {
        return p.columns + (p.spaceBefore && !first ? 1 : 0);
    };
    const auto flush = [&] {
        std::string out(lineStart(), ' ');
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i].spaceBefore && i > 0) {
                out += ' ';
            }
            out += line[i].text;
        }
        lines.push_back(out);
        line.clear();
    };
    for (Piece piece : pieces(text)) {
        const bool fits = used + widthOf(piece, line.empty()) <= columns;
        if (!line.empty() && !fits && !mayNotStartLine(piece.first)) {
            // An opening bracket goes down with what it opens.
            std::vector<Piece> carried;
            while (line.size() > 1 && mayNotEndLine(line.back().last)) {
                carried.insert(carried.begin(), line.back());
                line.pop_back();
            }
            flush();
            line = carried;
            used = lineStart();
            for (std::size_t i = 0; i < line.size(); ++i) {
                used += widthOf(line[i], i == 0);
            }
        }
        if (line.empty()) {
            used = lineStart();
            // A word longer than a whole line is cut where the line ends.
            while (used + piece.columns > columns && piece.text.size() > 1 &&
                   isAsciiWordPart(piece.first)) {
                const std::size_t room = static_cast<std::size_t>(std::max(1, columns - used));
                line.push_back({piece.text.substr(0, room), static_cast<int>(room), piece.first,
                                piece.first, false});
                flush();
                piece.text.erase(0, room);
                piece.columns -= static_cast<int>(room);
                used = lineStart();
            }
        }
        used += widthOf(piece, line.empty());
        line.push_back(piece);
    }
    if (!line.empty() || lines.empty()) {
        flush();
    }
    return lines;
}

std::string renderPlainText(const HelpDocument& doc, int columns, std::string_view lineEnd) {
    std::string out;
    const auto put = [&](const std::string& line) {
        out += line;
        out += lineEnd;
    };
    const auto lines = [columns](const std::string& text, int indent) {
        return columns > 0 ? wrapParagraph(text, columns, indent) : std::vector<std::string>{text};
    };
    const auto rule = [&](const char* mark, int width) {
        std::string line;
        for (int i = 0; i < width; i += 2) {
            line += mark;
        }
        put(line);
    };
    if (!doc.title.empty()) {
        const int titleRule = columns > 0 ? columns : textColumns(doc.title);
        rule("＝", titleRule);
        for (const std::string& line : lines(doc.title, 0)) {
            put(line);
        }
        rule("＝", titleRule);
    }
    for (const HelpTopic& topic : doc.topics) {
        if (!out.empty()) {
            put("");
        }
        const std::string title = "■" + topic.title;
        put(title);
        rule("─", columns > 0 ? std::min(columns, textColumns(title)) : textColumns(title));
        for (const HelpParagraph& p : topic.paragraphs) {
            switch (p.kind) {
            case HelpParagraph::Kind::Blank:
                put("");
                break;
            case HelpParagraph::Kind::Heading: {
                // One empty line before a heading, whether or not the source has one.
                const std::string emptyLine = std::string(lineEnd) + std::string(lineEnd);
                if (out.size() < emptyLine.size() ||
                    out.compare(out.size() - emptyLine.size(), emptyLine.size(), emptyLine) != 0) {
                    put("");
                }
                put("◆" + p.text);
                break;
            }
            case HelpParagraph::Kind::Body: {
                // A list item's lines line up after its bullet.
                const bool item = p.text.rfind("・", 0) == 0;
                for (const std::string& line : lines(p.text, item ? 2 : 0)) {
                    put(line);
                }
                break;
            }
            }
        }
    }
    return out;
}

} // namespace ambrel
