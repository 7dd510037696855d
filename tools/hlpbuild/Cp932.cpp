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

std::string convert(std::string_view in, const char* to, const char* from) {
    Iconv cd(iconv_open(to, from));
    if (cd.get() == reinterpret_cast<iconv_t>(-1)) {
        throw CodePageError(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    std::string out(in.size() * 2 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                const std::size_t used = out.size() - outLeft;
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = out.size() - used;
                continue;
            }
            const std::size_t at = in.size() - inLeft;
            throw CodePageError(std::string("no ") + to + " form for the text at byte " +
                                std::to_string(at) + ": \"" +
                                std::string(in.substr(at > 20 ? at - 20 : 0, 40)) + "\"");
        }
    }
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

std::string utf8ToCp932(std::string_view utf8) {
    return convert(utf8, "CP932", "UTF-8");
}

std::string cp932ToUtf8(std::string_view cp932) {
    return convert(cp932, "UTF-8", "CP932");
}

} // namespace ambrel
