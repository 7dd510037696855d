#include "HlpReader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ambrel::hlp {
namespace {

[[noreturn]] void bad(const std::string& what) {
    throw std::runtime_error("HLP: " + what);
}

class Cursor {
public:
    Cursor(const Bytes& bytes, std::size_t begin, std::size_t end)
        : bytes_(bytes), at_(begin), end_(end) {
        if (end > bytes.size() || begin > end) {
            bad("range outside the data");
        }
    }
    std::size_t at() const { return at_; }
    bool done() const { return at_ >= end_; }
    std::uint8_t u8() {
        need(1);
        return bytes_[at_++];
    }
    std::uint16_t u16() {
        const std::uint16_t lo = u8();
        return static_cast<std::uint16_t>(lo | (u8() << 8));
    }
    std::uint32_t u32() {
        const std::uint32_t lo = u16();
        return lo | (static_cast<std::uint32_t>(u16()) << 16);
    }
    std::string stringz() {
        std::string s;
        for (std::uint8_t c = u8(); c != 0; c = u8()) {
            s.push_back(static_cast<char>(c));
        }
        return s;
    }
    std::string fixed(std::size_t n) {
        need(n);
        std::string s(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                      bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + n));
        at_ += n;
        return s;
    }
    void skip(std::size_t n) {
        need(n);
        at_ += n;
    }
    // The variable-length numbers of the paragraph records.
    unsigned compressedUShort() {
        const unsigned first = u8();
        return (first & 1) ? (first >> 1) + 128u * u8() : first >> 1;
    }
    std::int32_t compressedSLong() {
        const std::uint32_t first = u16();
        if (first & 1) {
            return static_cast<std::int32_t>((first >> 1) + 32768u * u16()) - 67108864;
        }
        return static_cast<std::int32_t>(first >> 1) - 16384;
    }

private:
    void need(std::size_t n) const {
        if (at_ + n > end_) {
            bad("read past the end of a structure");
        }
    }
    const Bytes& bytes_;
    std::size_t at_;
    std::size_t end_;
};

// Version 21 without compression: 4 KB blocks, positions counted in 16 KB steps, text
// offsets in 32 K steps.
constexpr std::uint32_t kBlockSize = 4096;
constexpr std::uint32_t kBlockHeader = 12;
constexpr std::uint32_t kPositionStep = 0x4000;
constexpr std::uint32_t kOffsetStep = 0x8000;

struct BTree {
    std::uint16_t flags = 0;
    std::string structure;
    std::uint32_t entries = 0;
    std::size_t leafBegin = 0; // first entry of the single leaf
    std::size_t leafEnd = 0;
};

BTree readSinglePageBTree(const Bytes& data) {
    Cursor c(data, 0, data.size());
    if (c.u16() != 0x293B) {
        bad("B+ tree without its magic");
    }
    BTree t;
    t.flags = c.u16();
    const std::uint16_t pageSize = c.u16();
    const std::string structure = c.fixed(16);
    t.structure = structure.substr(0, structure.find('\0'));
    if (c.u16() != 0) {
        bad("B+ tree must-be-zero field");
    }
    c.u16(); // page splits
    const std::uint16_t root = c.u16();
    if (c.u16() != 0xFFFF) {
        bad("B+ tree must-be-minus-one field");
    }
    const std::uint16_t pages = c.u16();
    const std::uint16_t levels = c.u16();
    t.entries = c.u32();
    if (pages != 1 || levels != 1 || root != 0) {
        bad("expected a B+ tree of one leaf page");
    }
    if (data.size() != c.at() + pageSize) {
        bad("B+ tree size differs from its page");
    }
    const std::size_t page = c.at();
    const std::uint16_t unused = c.u16();
    const std::uint16_t count = c.u16();
    if (c.u16() != 0xFFFF || c.u16() != 0xFFFF) {
        bad("a single leaf page has no neighbours");
    }
    if (count != t.entries || unused > pageSize - 8) {
        bad("B+ tree leaf header does not match the tree");
    }
    t.leafBegin = c.at();
    t.leafEnd = page + pageSize - unused;
    return t;
}

} // namespace

HelpFile readHelpFile(const Bytes& bytes) {
    Cursor c(bytes, 0, bytes.size());
    HelpFile h;
    h.magic = c.u32();
    h.directoryStart = c.u32();
    if (c.u32() != 0xFFFFFFFF) {
        bad("unexpected free list");
    }
    h.declaredSize = c.u32();
    if (h.declaredSize != bytes.size()) {
        bad("declared size differs from the file size");
    }

    auto readInternal = [&bytes](std::uint32_t offset) {
        Cursor f(bytes, offset, bytes.size());
        InternalFile file;
        file.offset = offset;
        file.reserved = f.u32();
        const std::uint32_t used = f.u32();
        file.flags = f.u8();
        if (file.reserved != used + 9) {
            bad("reserved size is not the used size plus the file header");
        }
        if (f.at() + used > bytes.size()) {
            bad("internal file runs past the end of the help file");
        }
        file.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(f.at()),
                         bytes.begin() + static_cast<std::ptrdiff_t>(f.at() + used));
        return file;
    };

    const InternalFile directory = readInternal(h.directoryStart);
    const BTree tree = readSinglePageBTree(directory.data);
    if (tree.structure != "z4" || (tree.flags & 0x0400) == 0) {
        bad("directory B+ tree has the wrong kind");
    }
    Cursor e(directory.data, tree.leafBegin, tree.leafEnd);
    while (!e.done()) {
        const std::string name = e.stringz();
        const std::uint32_t offset = e.u32();
        if (!h.directory.empty() && !(h.directory.back() < name)) {
            bad("directory not sorted by name");
        }
        h.directory.push_back(name);
        h.files[name] = readInternal(offset);
    }
    if (h.directory.size() != tree.entries) {
        bad("directory entry count");
    }
    return h;
}

SystemInfo readSystem(const Bytes& system) {
    Cursor c(system, 0, system.size());
    SystemInfo s;
    s.magic = c.u16();
    s.minor = c.u16();
    s.major = c.u16();
    c.u32(); // generation date
    s.flags = c.u16();
    while (!c.done()) {
        const std::uint16_t type = c.u16();
        const std::uint16_t size = c.u16();
        const std::size_t end = c.at() + size;
        Cursor r(system, c.at(), end);
        switch (type) {
        case 1:
            s.title = r.stringz();
            break;
        case 3:
            s.contents = r.u32();
            break;
        case 4:
            s.macros.push_back(r.stringz());
            break;
        case 11:
            s.charset = r.u16();
            break;
        default:
            break;
        }
        if (type != 3 && type != 11 && !r.done()) {
            bad("string record longer than its string");
        }
        c.skip(size);
    }
    return s;
}

FontTable readFonts(const Bytes& font) {
    Cursor c(font, 0, font.size());
    const std::uint16_t faces = c.u16();
    const std::uint16_t descriptors = c.u16();
    const std::uint16_t facesAt = c.u16();
    const std::uint16_t descriptorsAt = c.u16();
    if (faces == 0 || facesAt != 8 || descriptorsAt < facesAt) {
        bad("|FONT header");
    }
    const std::size_t faceSize = (descriptorsAt - facesAt) / faces;
    FontTable t;
    Cursor f(font, facesAt, descriptorsAt);
    for (unsigned i = 0; i < faces; ++i) {
        const std::string raw = f.fixed(faceSize);
        t.faceNames.push_back(raw.substr(0, raw.find('\0')));
    }
    Cursor d(font, descriptorsAt, descriptorsAt + 11u * descriptors);
    for (unsigned i = 0; i < descriptors; ++i) {
        FontDescriptor fd;
        fd.bold = (d.u8() & 1) != 0;
        fd.halfPoints = d.u8();
        d.u8(); // family
        fd.faceIndex = d.u16();
        d.skip(6); // colours
        if (fd.faceIndex >= faces) {
            bad("font descriptor names a missing face");
        }
        t.descriptors.push_back(fd);
    }
    return t;
}

TopicWalk readTopics(const Bytes& topic) {
    // The viewers copy whole blocks, so the last one must be whole too.
    if (topic.empty() || topic.size() % kBlockSize != 0) {
        bad("|TOPIC is not made of whole topic blocks");
    }
    const std::size_t blocks = topic.size() / kBlockSize;
    struct BlockHeader {
        std::uint32_t lastLink, firstLink, lastTopicHeader;
    };
    std::vector<BlockHeader> headers;
    Bytes stream; // the blocks' data joined: links run on from one block into the next
    for (std::size_t b = 0; b < blocks; ++b) {
        Cursor h(topic, b * kBlockSize, (b + 1) * kBlockSize);
        BlockHeader header{};
        header.lastLink = h.u32();
        header.firstLink = h.u32();
        header.lastTopicHeader = h.u32();
        headers.push_back(header);
        stream.insert(stream.end(), topic.begin() + static_cast<std::ptrdiff_t>(h.at()),
                      topic.begin() + static_cast<std::ptrdiff_t>((b + 1) * kBlockSize));
    }
    const std::size_t blockData = kBlockSize - kBlockHeader;
    auto streamOffset = [&](std::uint32_t pos) -> std::size_t {
        const std::uint32_t block = pos / kPositionStep;
        const std::uint32_t offset = pos % kPositionStep;
        if (block >= blocks || offset < kBlockHeader || offset >= kBlockSize) {
            bad("a TOPICPOS outside the topic blocks: " + std::to_string(pos));
        }
        return block * blockData + offset - kBlockHeader;
    };

    TopicWalk walk;
    walk.blocks = blocks;
    std::uint32_t position = headers[0].firstLink;
    std::uint32_t previous = 0xFFFFFFFF;
    std::uint32_t lastTopicHeader = 0xFFFFFFFF;
    std::size_t block = 0;        // of the link before
    std::uint32_t characters = 0; // of the text records that started in that block
    std::vector<bool> linkStarts(blocks, false);
    for (;;) {
        const std::size_t at = streamOffset(position);
        if (at / blockData != block || previous == 0xFFFFFFFF) {
            block = at / blockData;
            characters = 0;
            const BlockHeader& header = headers[block];
            if (linkStarts[block] || header.firstLink != position || header.lastLink != previous ||
                header.lastTopicHeader != lastTopicHeader) {
                bad("the header of topic block " + std::to_string(block) +
                    " does not name the links around it");
            }
            linkStarts[block] = true;
        }
        Cursor link(stream, at, stream.size());
        const std::uint32_t blockSize = link.u32();
        const std::uint32_t dataLen2 = link.u32();
        const std::uint32_t prev = link.u32();
        const std::uint32_t next = link.u32();
        const std::uint32_t dataLen1 = link.u32();
        const std::uint8_t type = link.u8();
        if (prev != previous) {
            bad("link's previous-link field does not lead back");
        }
        if (dataLen1 < 21 || blockSize != dataLen1 + dataLen2) {
            bad("link sizes do not add up");
        }
        if (at + blockSize > stream.size()) {
            bad("link runs past the end of |TOPIC");
        }
        if ((at + blockSize - 1) / blockData != block) {
            ++walk.linksAcrossBlocks;
        }
        const std::size_t data1 = at + 21;
        const std::size_t data2 = at + dataLen1;
        walk.endOfData = static_cast<std::uint32_t>(at + blockSize);

        if (type == 0x02) {
            Cursor h(stream, data1, data2);
            if (dataLen1 - 21 != 28) {
                bad("topic header of the wrong size");
            }
            h.u32(); // size of the topic's records
            Topic t;
            t.browseBack = h.u32();
            t.browseForward = h.u32();
            h.u32(); // topic number
            h.u32(); // non-scrolling region
            h.u32(); // scrolling region
            h.u32(); // next topic
            t.title = Cursor(stream, data2, data2 + dataLen2).fixed(dataLen2);
            t.position = position;
            t.topicOffset = static_cast<std::uint32_t>(block * kOffsetStep + characters);
            lastTopicHeader = position;
            if (t.title.empty() && dataLen2 == 0 && (next == 0 || next == 0xFFFFFFFF)) {
                for (std::size_t b = 0; b < blocks; ++b) {
                    if (!linkStarts[b] && headers[b].firstLink != 0xFFFFFFFF) {
                        bad("a topic block names a first link that no link leads to");
                    }
                }
                return walk; // the end marker
            }
            walk.topics.push_back(std::move(t));
        } else if (type == 0x20) {
            if (walk.topics.empty()) {
                bad("display text before the first topic header");
            }
            Cursor f(stream, data1, data2);
            f.compressedSLong(); // size of the formatting data
            const unsigned textLength = f.compressedUShort();
            if (textLength != dataLen2) {
                bad("display record's text length differs from its link");
            }
            f.u8();
            f.u8();
            f.u16(); // paragraph id
            if (f.u16() != 0) {
                bad("paragraph attributes are not expected");
            }
            Cursor text(stream, data2, data2 + dataLen2);
            unsigned font = 0;
            Paragraph current;
            bool fresh = true;
            for (;;) {
                const std::string piece = text.stringz();
                if (fresh && !piece.empty()) {
                    current.font = font;
                    fresh = false;
                }
                current.text += piece;
                const std::uint8_t command = f.u8();
                if (command == 0xFF) {
                    break;
                }
                if (command == 0x80) {
                    font = f.u16();
                } else if (command == 0x82) {
                    if (fresh) {
                        current.font = font;
                    }
                    walk.topics.back().paragraphs.push_back(current);
                    current = {};
                    fresh = true;
                } else {
                    bad("unexpected formatting command " + std::to_string(command));
                }
            }
            if (!text.done() || !f.done()) {
                bad("display record has data after its end");
            }
            characters += dataLen2;
        } else {
            bad("unexpected record type " + std::to_string(type));
        }
        if (next == 0 || next == 0xFFFFFFFF) {
            bad("links end without the end marker");
        }
        previous = position;
        position = next;
    }
}

std::map<std::int32_t, std::uint32_t> readContexts(const Bytes& context) {
    const BTree tree = readSinglePageBTree(context);
    if (tree.structure != "L4") {
        bad("|CONTEXT B+ tree has the wrong kind");
    }
    std::map<std::int32_t, std::uint32_t> out;
    Cursor e(context, tree.leafBegin, tree.leafEnd);
    bool first = true;
    std::int32_t last = 0;
    while (!e.done()) {
        const auto hash = static_cast<std::int32_t>(e.u32());
        if (!first && hash <= last) {
            bad("|CONTEXT not sorted by signed hash");
        }
        out[hash] = e.u32();
        last = hash;
        first = false;
    }
    if (out.size() != tree.entries) {
        bad("|CONTEXT entry count");
    }
    return out;
}

Bytes readBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace ambrel::hlp
