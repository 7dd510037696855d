#include "app/tests/support/Cp932CodePage.h"

#include "Cp932.h"

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

} // namespace

Cp932CodePage::Cp932CodePage()
    : toUtf8_(openConverter("UTF-8", "CP932")), fromUtf8_(openConverter("CP932", "UTF-8")) {}

Cp932CodePage::~Cp932CodePage() {
    iconv_close(static_cast<iconv_t>(toUtf8_));
    iconv_close(static_cast<iconv_t>(fromUtf8_));
}

std::string Cp932CodePage::toUtf8(std::string_view ansi) const {
    return convertWithIconv(toUtf8_, ansi, "UTF-8", false, Unmappable::Substitute);
}

std::string Cp932CodePage::fromUtf8(std::string_view utf8) const {
    return convertWithIconv(fromUtf8_, utf8, "CP932", true, Unmappable::Substitute);
}

} // namespace ambrel
