#pragma once
// Writes a help document as an uncompressed WinHelp 3.1 file (.HLP), the format that the
// Windows help viewer opens for WinHelp(HELP_FINDER) and that wine's winhlp32 reads too.
//
// The file holds five internal files behind a one-page directory: |SYSTEM (title, contents
// topic, character set), |FONT, |CONTEXT (one entry a topic), |TOPIC and the directory itself.
// Every text goes into the file byte for byte, so the document must already be in the code
// page that `charset` names (Shift-JIS for 128).

#include "HelpSource.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ambrel {

inline constexpr std::uint32_t kHlpMagic = 0x00035F3F;
// A version-21 file without compression keeps its text in 4 KB topic blocks, each a 12-byte
// header and then the next piece of one stream of topic links: a link may run on into the next
// block. A position in the stream (TOPICPOS) is the block's number in 16 KB steps plus the
// offset in the block, header included, whatever the block size; a topic's TOPICOFFSET is the
// number of the block its header starts in in 32 K steps plus the characters of the text
// records that start before it in that block.
inline constexpr std::uint32_t kTopicBlockSize = 0x1000;
inline constexpr std::uint32_t kTopicBlockHeaderSize = 12;
inline constexpr std::uint32_t kTopicBlockDataSize = kTopicBlockSize - kTopicBlockHeaderSize;
inline constexpr std::uint32_t kTopicPositionBlockStep = 0x4000;
inline constexpr std::uint32_t kTopicOffsetBlockStep = 0x8000;

struct WinHelpOptions {
    std::string fontName;          // face name in the document's code page
    std::uint8_t charset = 128;    // SHIFTJIS_CHARSET
    std::uint32_t generatedAt = 0; // seconds since 1980; 0 keeps the build reproducible
};

// The document cannot be written as a help file.
class HelpLayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The context id that the topic with this index (0 = contents) is registered under.
std::string topicContextId(std::size_t topicIndex);

// WinHelp's hash of a context id, the key of |CONTEXT.
std::uint32_t contextHash(const std::string& contextId);

std::vector<std::uint8_t> buildWinHelpFile(const HelpDocument& doc, const WinHelpOptions& options);

// The topic blocks that the document's text takes.
std::uint32_t topicBlockCount(const HelpDocument& doc);

} // namespace ambrel
