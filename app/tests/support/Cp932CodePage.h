#pragma once
// The Japanese ANSI code page for the native tests and tools, through glibc's iconv ("CP932").
// Like the Win32 conversions it never fails: a byte sequence that is not Shift-JIS becomes "?"
// in UTF-8, and a character that CP932 lacks (or broken UTF-8) becomes "?" in the file's bytes.

#include "app/Platform.h"

#include <string>
#include <string_view>

namespace ambrel {

class Cp932CodePage : public AnsiCodePage {
public:
    Cp932CodePage();
    ~Cp932CodePage() override;
    Cp932CodePage(const Cp932CodePage&) = delete;
    Cp932CodePage& operator=(const Cp932CodePage&) = delete;

    std::string toUtf8(std::string_view ansi) const override;
    std::string fromUtf8(std::string_view utf8) const override;

private:
    // iconv_t, kept opaque so that users of the class need not include <iconv.h>. The
    // conversions reset their state on every call; one object serves one thread.
    void* toUtf8_;
    void* fromUtf8_;
};

} // namespace ambrel
