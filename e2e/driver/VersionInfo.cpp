#include "VersionInfo.h"

#include "Commands.h"
#include "JsonLine.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace ambrel::e2e {
namespace {

// One node of the version resource's tree: a key, a value and the children after it,
// each part aligned on 32 bits from the start of the resource.
struct Block {
    std::wstring key;
    const BYTE* value = nullptr;
    size_t valueBytes = 0;
    WORD type = 0;
    const BYTE* children = nullptr;
    const BYTE* end = nullptr;
};

const BYTE* align4(const BYTE* base, const BYTE* p) {
    return base + (((p - base) + 3) & ~(ptrdiff_t)3);
}

bool parseBlock(const BYTE* base, const BYTE* p, const BYTE* limit, Block& b) {
    if (limit - p < 6)
        return false;
    WORD length = *(const WORD*)p, valueLength = *(const WORD*)(p + 2);
    b.type = *(const WORD*)(p + 4);
    if (length < 6 || p + length > limit)
        return false;
    b.end = p + length;
    const wchar_t* key = (const wchar_t*)(p + 6);
    size_t n = 0;
    while ((const BYTE*)(key + n + 1) <= b.end && key[n])
        ++n;
    b.key.assign(key, n);
    b.value = align4(base, (const BYTE*)(key + n + 1));
    if (b.value > b.end)
        b.value = b.end;
    size_t bytes = b.type == 1 ? valueLength * sizeof(wchar_t) : valueLength;
    b.valueBytes = std::min<size_t>(bytes, b.end - b.value);
    b.children = align4(base, b.value + bytes);
    if (b.children > b.end)
        b.children = b.end;
    return true;
}

std::vector<Block> childrenOf(const BYTE* base, const Block& parent) {
    std::vector<Block> list;
    const BYTE* p = parent.children;
    Block b;
    while (p < parent.end && parseBlock(base, p, parent.end, b)) {
        list.push_back(b);
        p = align4(base, b.end);
    }
    return list;
}

std::wstring textValue(const Block& b) {
    const wchar_t* text = (const wchar_t*)b.value;
    size_t n = 0;
    while (n < b.valueBytes / sizeof(wchar_t) && text[n])
        ++n;
    return std::wstring(text, n);
}

std::string versionText(DWORD high, DWORD low) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lu.%lu.%lu.%lu", (unsigned long)HIWORD(high),
                  (unsigned long)LOWORD(high), (unsigned long)HIWORD(low),
                  (unsigned long)LOWORD(low));
    return buf;
}

} // namespace

std::string versionInfoJson(const std::wstring& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (!size)
        throw CommandError("no version resource in " + toUtf8(path));
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        throw CommandError("cannot read the version resource of " + toUtf8(path));

    JsonLine line;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (VerQueryValueW(data.data(), L"\\", (void**)&fixed, &fixedSize) && fixed) {
        line.add("file_version", versionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS))
            .add("product_version",
                 versionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    }
    WORD* translation = nullptr;
    UINT translationSize = 0;
    std::vector<std::string> pairs;
    if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", (void**)&translation,
                       &translationSize)) {
        for (UINT i = 0; i + 1 < translationSize / sizeof(WORD); i += 2) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%04X%04X", translation[i], translation[i + 1]);
            pairs.push_back(JsonLine::quote(hex));
        }
    }
    line.addRaw("translation", JsonLine::array(pairs));

    // VerQueryValueW can only look names up; listing every string needs the tree itself.
    const BYTE* base = data.data();
    Block root;
    std::string tables;
    if (parseBlock(base, base, base + size, root)) {
        for (const Block& info : childrenOf(base, root)) {
            if (info.key != L"StringFileInfo")
                continue;
            for (const Block& table : childrenOf(base, info)) {
                JsonLine strings;
                for (const Block& entry : childrenOf(base, table))
                    strings.add(toUtf8(entry.key).c_str(), textValue(entry));
                if (!tables.empty())
                    tables += ",";
                tables += JsonLine::quote(toUtf8(table.key)) + ":" + strings.str();
            }
        }
    }
    line.addRaw("strings", "{" + tables + "}");
    return line.str();
}

} // namespace ambrel::e2e
