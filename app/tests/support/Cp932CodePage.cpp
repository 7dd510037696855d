#include "app/tests/support/Cp932CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace ambrel {

namespace {

iconv_t openConverter(const char* to, const char* from) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    return cd;
}

// Length of the UTF-8 sequence that starts with `lead`, so that one unmappable character gives
// one "?" rather than one per byte; 1 for a byte that cannot start a sequence.
size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead <= 0xEF ? 3 : 1;
    }
    if (lead >= 0xC2) {
        return 2;
    }
    return 1;
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

std::string convert(iconv_t cd, std::string_view input, bool inputIsUtf8) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.resize(input.size() * 2 + 16);
    // iconv takes a non-const input pointer but does not write through it.
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        size_t outLeft = out.size() - written;
        const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL (an incomplete sequence at the end): substitute and go on.
        size_t skip = 1;
        if (inputIsUtf8) {
            const size_t length = utf8SequenceLength(static_cast<unsigned char>(*in));
            if (length <= inLeft) {
                skip = length;
                for (size_t k = 1; k < length; ++k) {
                    if (!isContinuation(static_cast<unsigned char>(in[k]))) {
                        skip = 1;
                        break;
                    }
                }
            }
        }
        if (out.size() - written < 1) {
            out.resize(out.size() * 2);
        }
        out[written++] = '?';
        in += skip;
        inLeft -= skip;
    }
    // Flush a shift state, if the target has one (neither UTF-8 nor CP932 does).
    char* outPtr = out.data() + written;
    size_t outLeft = out.size() - written;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    written = out.size() - outLeft;
    out.resize(written);
    return out;
}

} // namespace

Cp932CodePage::Cp932CodePage()
    : toUtf8_(openConverter("UTF-8", "CP932")), fromUtf8_(openConverter("CP932", "UTF-8")) {}

Cp932CodePage::~Cp932CodePage() {
    iconv_close(static_cast<iconv_t>(toUtf8_));
    iconv_close(static_cast<iconv_t>(fromUtf8_));
}

std::string Cp932CodePage::toUtf8(std::string_view ansi) const {
    return convert(static_cast<iconv_t>(toUtf8_), ansi, false);
}

std::string Cp932CodePage::fromUtf8(std::string_view utf8) const {
    return convert(static_cast<iconv_t>(fromUtf8_), utf8, true);
}

} // namespace ambrel
