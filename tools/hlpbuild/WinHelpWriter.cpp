#include "WinHelpWriter.h"

#include <algorithm>
#include <utility>

namespace ambrel {
namespace {

class Bytes {
public:
    void u8(unsigned v) { data_.push_back(static_cast<std::uint8_t>(v & 0xFF)); }
    void u16(unsigned v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void text(const std::string& s) { data_.insert(data_.end(), s.begin(), s.end()); }
    void textz(const std::string& s) {
        text(s);
        u8(0);
    }
    void bytes(const Bytes& other) {
        data_.insert(data_.end(), other.data_.begin(), other.data_.end());
    }
    void range(const Bytes& other, std::size_t from, std::size_t to) {
        data_.insert(data_.end(), other.data_.begin() + static_cast<std::ptrdiff_t>(from),
                     other.data_.begin() + static_cast<std::ptrdiff_t>(to));
    }
    void fill(std::size_t n) { data_.insert(data_.end(), n, 0); }
    void patch32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            data_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    }
    std::size_t size() const { return data_.size(); }
    std::vector<std::uint8_t> take() { return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
};

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// The fixed part of every topic link before its data1: block size, data2 size, previous and
// next link, data1 size (all 32-bit) and the record type.
constexpr std::uint32_t kLinkHeaderSize = 21;

// A topic header's data1: seven 32-bit fields, at these offsets.
enum TopicHeaderField : std::size_t {
    kRecordsSize = 0,   // bytes of the topic's records after the header
    kPreviousTopic = 4, // for the << button
    kNextTopic = 8,     // for the >> button
    kTopicNumber = 12,
    kNonScrolling = 16,    // first record of the non-scrolling region
    kScrolling = 20,       // first record of the scrolling region
    kNextTopicHeader = 24, // where the next topic's header starts
    kTopicHeaderSize = 28,
};

// B+ tree pages and the internal files of the help file.
constexpr unsigned kBTreeMagic = 0x293B;
constexpr unsigned kBTreeStructureSize = 16; // the structure string, NUL-padded
constexpr unsigned kLeafHeaderSize = 8;      // free bytes, entries, previous and next leaf
constexpr unsigned kNoPage = 0xFFFF;
constexpr unsigned kContextFlags = 0x0002;
constexpr unsigned kContextPageSize = 0x0800;
constexpr unsigned kDirectoryFlags = 0x0402;
constexpr unsigned kDirectoryPageSize = 0x0400;
constexpr unsigned kDirectoryFileFlags = 4; // the internal file that is the directory itself

// |SYSTEM: its header and the record types written.
constexpr unsigned kSystemMagic = 0x036C;
constexpr unsigned kSystemVersionWinHelp31 = 21;
constexpr unsigned kSystemFlags = 1;
enum SystemRecordType : unsigned {
    kTitleRecord = 1,
    kContentsRecord = 3,
    kMacroRecord = 4,
    kCharsetRecord = 11
};

// Display-text format commands.
constexpr unsigned kParagraphStart = 0x80;
constexpr unsigned kFontChange = 0x80;
constexpr unsigned kEndOfParagraph = 0x82;
constexpr unsigned kEndOfRecord = 0xFF;

// The paragraph records store their lengths in WinHelp's variable-length forms.
void compressedUShort(Bytes& out, unsigned v) {
    if (v < 0x80) {
        out.u8(v * 2);
    } else {
        out.u8(1 + (v % 0x80) * 2);
        out.u8(v / 0x80);
    }
}

void compressedULong(Bytes& out, std::uint32_t v) {
    if (v < 0x8000) {
        out.u16(v * 2);
    } else {
        out.u16(1 + (v % 0x8000) * 2);
        out.u16(v / 0x8000);
    }
}

void compressedSLong(Bytes& out, std::int32_t v) {
    if (v >= -0x4000 && v < 0x4000) {
        compressedULong(out, static_cast<std::uint32_t>(v + 0x4000));
    } else {
        compressedULong(out, static_cast<std::uint32_t>(v + 0x4000000));
    }
}

enum FontId : unsigned { kBodyFont = 0, kTitleFont = 1, kHeadingFont = 2 };

enum RecordType : std::uint8_t { kTopicHeader = 0x02, kDisplayText = 0x20 };

struct TopicLink {
    RecordType type;
    Bytes data1;
    Bytes data2;
    std::uint32_t stream = 0;     // where it starts in the stream of links, headers left out
    std::uint32_t position = 0;   // TOPICPOS
    std::uint32_t textOffset = 0; // TOPICOFFSET
    std::uint32_t size() const {
        return static_cast<std::uint32_t>(kLinkHeaderSize + data1.size() + data2.size());
    }
};

std::uint32_t blockOf(std::uint32_t stream) {
    return stream / kTopicBlockDataSize;
}

std::uint32_t topicPosition(std::uint32_t stream) {
    return blockOf(stream) * kTopicPositionBlockStep + kTopicBlockHeaderSize +
           stream % kTopicBlockDataSize;
}

// One display-text record: paragraphs that share one paragraph format, with font changes.
// The viewer alternates between the two halves: it shows the next NUL-terminated string of
// the text, then obeys the next command of the format, so every command owns one string.
class DisplayRecord {
public:
    DisplayRecord() {
        format_.u8(0x00);
        format_.u8(kParagraphStart);
        format_.u16(0); // paragraph id
        format_.u16(0); // no spacing, indents, borders or tabs: the viewer's defaults
    }
    void font(unsigned id) {
        if (id == font_) {
            return;
        }
        text_.u8(0);
        format_.u8(kFontChange);
        format_.u16(id);
        font_ = id;
    }
    void paragraph(const std::string& s) {
        text_.textz(s);
        format_.u8(kEndOfParagraph);
    }
    TopicLink finish() {
        text_.u8(0);
        if (text_.size() >= 0x8000) {
            throw HelpLayoutError("a topic's text is longer than a text record can say");
        }
        format_.u8(kEndOfRecord);
        TopicLink link{kDisplayText, {}, {}};
        compressedSLong(link.data1, static_cast<std::int32_t>(format_.size()));
        compressedUShort(link.data1, static_cast<unsigned>(text_.size()));
        link.data1.bytes(format_);
        link.data2 = std::move(text_);
        return link;
    }

private:
    Bytes format_;
    Bytes text_;
    unsigned font_ = ~0u;
};

TopicLink topicHeader(const std::string& title) {
    TopicLink link{kTopicHeader, {}, {}};
    link.data1.fill(kTopicHeaderSize); // filled in once the layout is known
    link.data2.text(title);
    return link;
}

struct TopicLayout {
    std::vector<TopicLink> links;
    std::uint32_t end = 0;                // bytes of the stream of links
    std::vector<std::size_t> headerIndex; // link index of each topic's header
    std::uint32_t topicOffset(std::size_t topic) const {
        return links[headerIndex[topic]].textOffset;
    }
    std::uint32_t blockCount() const { return blockOf(end - 1) + 1; }
};

TopicLayout layOutTopics(const HelpDocument& doc) {
    TopicLayout layout;
    for (const HelpTopic& topic : doc.topics) {
        layout.headerIndex.push_back(layout.links.size());
        layout.links.push_back(topicHeader(topic.title));

        DisplayRecord title;
        title.font(kTitleFont);
        title.paragraph(topic.title);
        layout.links.push_back(title.finish());

        if (!topic.paragraphs.empty()) {
            DisplayRecord body;
            for (const HelpParagraph& p : topic.paragraphs) {
                body.font(p.kind == HelpParagraph::Kind::Heading ? kHeadingFont : kBodyFont);
                body.paragraph(p.text);
            }
            layout.links.push_back(body.finish());
        }
    }
    // The viewer stops at a last, empty topic header.
    layout.links.push_back(topicHeader({}));

    std::uint32_t stream = 0;
    std::uint32_t block = 0;
    std::uint32_t characters = 0; // of the text records that started in this block so far
    for (TopicLink& link : layout.links) {
        if (blockOf(stream) != block) {
            block = blockOf(stream);
            characters = 0;
        }
        link.stream = stream;
        link.position = topicPosition(stream);
        link.textOffset = block * kTopicOffsetBlockStep + characters;
        stream += link.size();
        if (link.type == kDisplayText) {
            characters += static_cast<std::uint32_t>(link.data2.size());
        }
    }
    layout.end = stream;

    const std::size_t topics = layout.headerIndex.size();
    for (std::size_t t = 0; t <= topics; ++t) {
        const std::size_t at = t < topics ? layout.headerIndex[t] : layout.links.size() - 1;
        const std::size_t next =
            t + 1 < topics ? layout.headerIndex[t + 1] : layout.links.size() - 1;
        std::uint32_t recordsSize = 0;
        for (std::size_t i = at + 1; i < next; ++i) {
            recordsSize += layout.links[i].size();
        }
        Bytes& h = layout.links[at].data1;
        h.patch32(kRecordsSize, recordsSize);
        h.patch32(kPreviousTopic, t > 0 && t < topics ? layout.topicOffset(t - 1) : kNone);
        h.patch32(kNextTopic, t + 1 < topics ? layout.topicOffset(t + 1) : kNone);
        h.patch32(kTopicNumber, static_cast<std::uint32_t>(t));
        h.patch32(kNonScrolling, kNone); // none
        h.patch32(kScrolling, t < topics ? layout.links[at + 1].position : kNone);
        h.patch32(kNextTopicHeader, t < topics ? layout.links[next].position : kNone);
    }
    return layout;
}

Bytes linkStream(const TopicLayout& layout) {
    Bytes out;
    for (std::size_t i = 0; i < layout.links.size(); ++i) {
        const TopicLink& link = layout.links[i];
        out.u32(link.size());
        out.u32(static_cast<std::uint32_t>(link.data2.size()));
        out.u32(i > 0 ? layout.links[i - 1].position : kNone);
        out.u32(i + 1 < layout.links.size() ? layout.links[i + 1].position : kNone);
        out.u32(static_cast<std::uint32_t>(kLinkHeaderSize + link.data1.size()));
        out.u8(link.type);
        out.bytes(link.data1);
        out.bytes(link.data2);
    }
    return out;
}

// The stream cut into blocks, each behind its header. The last block is filled up with zeros:
// wine's viewer copies every block whole, so a short one would be read past its end.
Bytes topicFile(const TopicLayout& layout) {
    const Bytes stream = linkStream(layout);
    Bytes out;
    for (std::uint32_t block = 0; block < layout.blockCount(); ++block) {
        std::uint32_t lastLink = kNone;   // the last link that starts before this block
        std::uint32_t firstLink = kNone;  // the first that starts in it
        std::uint32_t lastHeader = kNone; // the last topic header before it
        for (const TopicLink& link : layout.links) {
            if (blockOf(link.stream) < block) {
                lastLink = link.position;
                if (link.type == kTopicHeader) {
                    lastHeader = link.position;
                }
            } else if (blockOf(link.stream) == block && firstLink == kNone) {
                firstLink = link.position;
            }
        }
        out.u32(lastLink);
        out.u32(firstLink);
        out.u32(lastHeader);
        const std::uint32_t from = block * kTopicBlockDataSize;
        const std::uint32_t to = std::min(from + kTopicBlockDataSize, layout.end);
        out.range(stream, from, to);
        out.fill(kTopicBlockDataSize - (to - from));
    }
    return out;
}

// A B+ tree small enough for one leaf page, which is then also the root.
Bytes singlePageBTree(unsigned flags, unsigned pageSize, const std::string& structure,
                      const std::vector<Bytes>& entries) {
    Bytes out;
    out.u16(kBTreeMagic);
    out.u16(flags);
    out.u16(pageSize);
    out.text(structure);
    out.fill(kBTreeStructureSize - structure.size());
    out.u16(0);       // must be zero
    out.u16(0);       // page splits
    out.u16(0);       // root page
    out.u16(kNoPage); // must be -1
    out.u16(1);       // pages
    out.u16(1);       // levels
    out.u32(static_cast<std::uint32_t>(entries.size()));

    std::size_t used = kLeafHeaderSize;
    for (const Bytes& e : entries) {
        used += e.size();
    }
    if (used > pageSize) {
        throw HelpLayoutError("a B+ tree of the help file outgrows its single page");
    }
    out.u16(static_cast<unsigned>(pageSize - used));
    out.u16(static_cast<unsigned>(entries.size()));
    out.u16(kNoPage); // no previous leaf
    out.u16(kNoPage); // no next leaf
    for (const Bytes& e : entries) {
        out.bytes(e);
    }
    out.fill(pageSize - used);
    return out;
}

Bytes contextFile(const TopicLayout& layout) {
    std::vector<std::pair<std::int32_t, std::uint32_t>> keys;
    for (std::size_t t = 0; t < layout.headerIndex.size(); ++t) {
        keys.emplace_back(static_cast<std::int32_t>(contextHash(topicContextId(t))),
                          layout.topicOffset(t));
    }
    // The viewer searches the leaf with the hashes compared as signed numbers.
    std::sort(keys.begin(), keys.end());
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (keys[i].first == keys[i - 1].first) {
            throw HelpLayoutError("two topic context ids share one hash");
        }
    }
    std::vector<Bytes> entries;
    for (const auto& [hash, offset] : keys) {
        Bytes e;
        e.u32(static_cast<std::uint32_t>(hash));
        e.u32(offset);
        entries.push_back(std::move(e));
    }
    return singlePageBTree(kContextFlags, kContextPageSize, "L4", entries);
}

void systemRecord(Bytes& out, unsigned type, const Bytes& data) {
    out.u16(type);
    out.u16(static_cast<unsigned>(data.size()));
    out.bytes(data);
}

Bytes systemFile(const HelpDocument& doc, const TopicLayout& layout,
                 const WinHelpOptions& options) {
    Bytes out;
    out.u16(kSystemMagic);
    out.u16(kSystemVersionWinHelp31);
    out.u16(kSystemFlags);
    out.u32(options.generatedAt);
    out.u16(0); // no compression: 4 KB topic blocks

    Bytes title;
    title.textz(doc.title);
    systemRecord(out, kTitleRecord, title);

    Bytes contents;
    contents.u32(layout.topicOffset(0));
    systemRecord(out, kContentsRecord, contents);

    if (doc.topics.size() > 1) {
        // Lets the reader page through the topics in their order with << and >>.
        Bytes macro;
        macro.textz("BrowseButtons()");
        systemRecord(out, kMacroRecord, macro);
    }

    Bytes charset;
    charset.u16(options.charset);
    systemRecord(out, kCharsetRecord, charset);
    return out;
}

Bytes fontFile(const WinHelpOptions& options) {
    constexpr unsigned kFaceNameSize = 32;
    if (options.fontName.size() >= kFaceNameSize) {
        throw HelpLayoutError("the font name is too long for |FONT");
    }
    struct Descriptor {
        unsigned attributes; // 1 = bold
        unsigned halfPoints;
        std::uint8_t red, green, blue;
    };
    const Descriptor descriptors[] = {
        {0, 20, 0, 0, 0},   // kBodyFont: 10 pt
        {1, 28, 0, 0, 0},   // kTitleFont: 14 pt bold
        {1, 22, 0, 0, 128}, // kHeadingFont: 11 pt bold, dark blue
    };
    constexpr unsigned kSwissFamily = 3;

    Bytes out;
    out.u16(1); // face names
    out.u16(static_cast<unsigned>(std::size(descriptors)));
    out.u16(8);
    out.u16(8 + kFaceNameSize);
    out.text(options.fontName);
    out.fill(kFaceNameSize - options.fontName.size());
    for (const Descriptor& d : descriptors) {
        out.u8(d.attributes);
        out.u8(d.halfPoints);
        out.u8(kSwissFamily);
        out.u16(0); // face name index
        out.u8(d.red);
        out.u8(d.green);
        out.u8(d.blue);
        out.fill(3); // background, unused
    }
    return out;
}

} // namespace

std::string topicContextId(std::size_t topicIndex) {
    return topicIndex == 0 ? "IDH_CONTENTS" : "IDH_TOPIC" + std::to_string(topicIndex);
}

std::uint32_t contextHash(const std::string& contextId) {
    if (contextId.empty()) {
        return 1;
    }
    // WinHelp 3.1 context ids use digits, letters, '_' and '.'; the viewer folds case and
    // weighs each character as below before hashing.
    auto weight = [&contextId](char c) -> std::uint32_t {
        if (c == '0') {
            return 0x0A;
        }
        if (c >= '1' && c <= '9') {
            return static_cast<std::uint32_t>(c - '0');
        }
        if (c >= 'A' && c <= 'Z') {
            return static_cast<std::uint32_t>(c - 'A' + 0x11);
        }
        if (c >= 'a' && c <= 'z') {
            return static_cast<std::uint32_t>(c - 'a' + 0x11);
        }
        if (c == '_') {
            return 0x0D;
        }
        if (c == '.') {
            return 0x0C;
        }
        throw std::invalid_argument("context id \"" + contextId +
                                    "\" has a character WinHelp 3.1 does not allow");
    };
    std::uint32_t hash = 0;
    for (char c : contextId) {
        hash = hash * 43 + weight(c);
    }
    return hash;
}

std::uint32_t topicBlockCount(const HelpDocument& doc) {
    if (doc.topics.empty()) {
        throw HelpLayoutError("a help file needs at least one topic");
    }
    return layOutTopics(doc).blockCount();
}

std::vector<std::uint8_t> buildWinHelpFile(const HelpDocument& doc, const WinHelpOptions& options) {
    if (doc.topics.empty()) {
        throw HelpLayoutError("a help file needs at least one topic");
    }
    const TopicLayout layout = layOutTopics(doc);

    // Sorted by name, as the directory lists them.
    std::vector<std::pair<std::string, Bytes>> files;
    files.emplace_back("|CONTEXT", contextFile(layout));
    files.emplace_back("|FONT", fontFile(options));
    files.emplace_back("|SYSTEM", systemFile(doc, layout, options));
    files.emplace_back("|TOPIC", topicFile(layout));

    constexpr std::uint32_t kHeaderSize = 16;
    constexpr std::uint32_t kFileHeaderSize = 9;
    std::vector<Bytes> directoryEntries;
    std::uint32_t offset = kHeaderSize;
    for (const auto& [name, data] : files) {
        Bytes e;
        e.textz(name);
        e.u32(offset);
        directoryEntries.push_back(std::move(e));
        offset += kFileHeaderSize + static_cast<std::uint32_t>(data.size());
    }
    const std::uint32_t directoryStart = offset;
    Bytes directory = singlePageBTree(kDirectoryFlags, kDirectoryPageSize, "z4", directoryEntries);
    const std::uint32_t total =
        directoryStart + kFileHeaderSize + static_cast<std::uint32_t>(directory.size());

    Bytes out;
    out.u32(kHlpMagic);
    out.u32(directoryStart);
    out.u32(kNone); // no free list
    out.u32(total);
    // The reserved size is exactly the used size plus this header: viewers take an internal
    // file's end from the reserved size, so slack would be read as data.
    auto internalFile = [&out](const Bytes& data, unsigned flags) {
        out.u32(static_cast<std::uint32_t>(data.size() + kFileHeaderSize));
        out.u32(static_cast<std::uint32_t>(data.size()));
        out.u8(flags);
        out.bytes(data);
    };
    for (const auto& entry : files) {
        internalFile(entry.second, 0);
    }
    internalFile(directory, kDirectoryFileFlags);
    return out.take();
}

} // namespace ambrel
