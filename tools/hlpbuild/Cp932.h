#pragma once
// Conversion between UTF-8 and code page 932 (Shift-JIS with the Windows extensions), the
// code page that a Japanese help viewer reads the help file's text in.

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

} // namespace ambrel
