#pragma once
// Conversion between UTF-8 and code page 932 (Shift-JIS with the Windows extensions), through
// iconv: the help file's text for a Japanese help viewer, and the settings file's ANSI bytes in
// the native tests, which stand in for the system's code page.

#include <stdexcept>
#include <string>
#include <string_view>

namespace ambrel {

class CodePageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Both throw CodePageError for a text that has no exact counterpart: a help file with a
// silently dropped character would be wrong without anybody noticing.
std::string utf8ToCp932(std::string_view utf8);
std::string cp932ToUtf8(std::string_view cp932);
// UTF-16 little-endian, as Windows' wide texts are stored, for the program's own help window.
std::string utf8ToUtf16le(std::string_view utf8);

// What a conversion does with a character the target lacks, or with a broken sequence.
enum class Unmappable {
    Fail,       // CodePageError
    Substitute, // one "?" per character, as the Win32 conversions do
};

// One conversion through an open iconv descriptor (an iconv_t, here as void* so that users need
// not include <iconv.h>), reset first. `to` names the target for the error text.
std::string convertWithIconv(void* descriptor, std::string_view input, const char* to,
                             bool inputIsUtf8, Unmappable unmappable);

} // namespace ambrel
