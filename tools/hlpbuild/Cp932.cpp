#include "Cp932.h"

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace ambrel {
namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using Iconv = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// Length of the UTF-8 sequence that starts with `lead`, so that one unmappable character gives
// one "?" rather than one per byte; 1 for a byte that cannot start a sequence.
std::size_t utf8SequenceLength(unsigned char lead) {
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

// How many input bytes one "?" stands for at `in`.
std::size_t bytesToSkip(const char* in, std::size_t inLeft, bool inputIsUtf8) {
    if (!inputIsUtf8) {
        return 1;
    }
    const std::size_t length = utf8SequenceLength(static_cast<unsigned char>(*in));
    if (length > inLeft) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (!isContinuation(static_cast<unsigned char>(in[k]))) {
            return 1;
        }
    }
    return length;
}

std::string convert(std::string_view in, const char* to, const char* from) {
    Iconv cd(iconv_open(to, from));
    if (cd.get() == reinterpret_cast<iconv_t>(-1)) {
        throw CodePageError(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    return convertWithIconv(cd.get(), in, to, false, Unmappable::Fail);
}

} // namespace

std::string convertWithIconv(void* descriptor, std::string_view input, const char* to,
                             bool inputIsUtf8, Unmappable unmappable) {
    const auto cd = static_cast<iconv_t>(descriptor);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(input.size() * 2 + 16, '\0');
    // iconv takes a non-const input pointer but does not write through it.
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ, or EINVAL for an incomplete sequence at the end.
        const std::size_t at = input.size() - inLeft;
        if (unmappable == Unmappable::Fail) {
            throw CodePageError(std::string("no ") + to + " form for the text at byte " +
                                std::to_string(at) + ": \"" +
                                std::string(input.substr(at > 20 ? at - 20 : 0, 40)) + "\"");
        }
        if (out.size() == written) {
            out.resize(out.size() * 2);
        }
        out[written++] = '?';
        const std::size_t skip = bytesToSkip(in, inLeft, inputIsUtf8);
        in += skip;
        inLeft -= skip;
    }
    // Flush a shift state, if the target has one (neither UTF-8 nor CP932 does).
    char* outPtr = out.data() + written;
    std::size_t outLeft = out.size() - written;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.resize(out.size() - outLeft);
    return out;
}

std::string utf8ToCp932(std::string_view utf8) {
    return convert(utf8, "CP932", "UTF-8");
}

std::string cp932ToUtf8(std::string_view cp932) {
    return convert(cp932, "UTF-8", "CP932");
}

std::string utf8ToUtf16le(std::string_view utf8) {
    return convert(utf8, "UTF-16LE", "UTF-8");
}

} // namespace ambrel
