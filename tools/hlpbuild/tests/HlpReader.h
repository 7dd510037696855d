#pragma once
// A reader for the WinHelp files that hlpbuild writes, for the tests. It follows the public
// description of the format on its own, not the writer's code, so that the two check each
// other, and it refuses whatever a viewer would trip over (sizes that do not add up, links
// that leave their block) with a std::runtime_error.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ambrel::hlp {

using Bytes = std::vector<std::uint8_t>;

struct InternalFile {
    std::uint32_t offset = 0; // of its file header in the help file
    std::uint32_t reserved = 0;
    std::uint8_t flags = 0;
    Bytes data; // UsedSpace bytes
};

struct HelpFile {
    std::uint32_t magic = 0;
    std::uint32_t directoryStart = 0;
    std::uint32_t declaredSize = 0;
    std::vector<std::string> directory; // names in directory order
    std::map<std::string, InternalFile> files;
};

HelpFile readHelpFile(const Bytes& bytes);

struct SystemInfo {
    std::uint16_t magic = 0;
    std::uint16_t minor = 0;
    std::uint16_t major = 0;
    std::uint16_t flags = 0;
    std::string title;
    std::uint32_t contents = 0xFFFFFFFF;
    int charset = -1;
    std::vector<std::string> macros;
};

SystemInfo readSystem(const Bytes& system);

struct FontDescriptor {
    bool bold = false;
    unsigned halfPoints = 0;
    unsigned faceIndex = 0;
};

struct FontTable {
    std::vector<std::string> faceNames;
    std::vector<FontDescriptor> descriptors;
};

FontTable readFonts(const Bytes& font);

struct Paragraph {
    unsigned font = 0; // font in effect at the paragraph's first character
    std::string text;
};

struct Topic {
    std::string title;
    std::uint32_t position = 0;    // TOPICPOS of its header
    std::uint32_t topicOffset = 0; // TOPICOFFSET, as |SYSTEM and |CONTEXT name it
    std::uint32_t browseBack = 0;
    std::uint32_t browseForward = 0;
    std::vector<Paragraph> paragraphs;
};

struct TopicWalk {
    std::vector<Topic> topics;
    std::size_t blocks = 0;
    std::size_t linksAcrossBlocks = 0; // links that start in one block and end in another
    std::uint32_t endOfData = 0;       // bytes of the stream of links up to the end marker
};

// Walks the links from the first block's first link to the end marker, through the stream
// that the blocks' data make when joined, and checks each block's header against the links
// around it.
TopicWalk readTopics(const Bytes& topic);

// |CONTEXT as hash -> TOPICOFFSET, checking that the leaf is sorted by signed hash.
std::map<std::int32_t, std::uint32_t> readContexts(const Bytes& context);

Bytes readBinaryFile(const std::string& path);

} // namespace ambrel::hlp
