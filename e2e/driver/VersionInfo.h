// The version resource of an executable as one JSON line: the fixed file and product
// versions, the translations and every string of every string table.
#pragma once

#include <string>

namespace ambrel::e2e {

std::string versionInfoJson(const std::wstring& path);

} // namespace ambrel::e2e
