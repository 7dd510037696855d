#include "JsonLine.h"

#include "app/win32/WideText.h"

#include <windows.h>

#include <cstdio>

namespace ambrel::e2e {

std::string toUtf8(const std::wstring& text) {
    return win32::narrow(text);
}

std::wstring fromUtf8(const std::string& text) {
    return win32::widen(text);
}

std::string JsonLine::quote(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += (char)c;
            }
        }
    }
    return out + "\"";
}

std::string JsonLine::array(const std::vector<std::string>& jsonItems) {
    std::string out = "[";
    for (size_t i = 0; i < jsonItems.size(); ++i) {
        if (i)
            out += ",";
        out += jsonItems[i];
    }
    return out + "]";
}

void JsonLine::key(const char* name) {
    if (!body_.empty())
        body_ += ",";
    body_ += quote(name) + ":";
}

JsonLine& JsonLine::add(const char* name, const std::wstring& value) {
    return add(name, toUtf8(value));
}

JsonLine& JsonLine::add(const char* name, const std::string& value) {
    key(name);
    body_ += quote(value);
    return *this;
}

JsonLine& JsonLine::add(const char* name, long long value) {
    key(name);
    body_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::add(const char* name, bool value) {
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::add(const char* name, std::initializer_list<long long> numbers) {
    std::vector<std::string> items;
    for (long long n : numbers)
        items.push_back(std::to_string(n));
    return addRaw(name, array(items));
}

JsonLine& JsonLine::addRaw(const char* name, const std::string& json) {
    key(name);
    body_ += json;
    return *this;
}

} // namespace ambrel::e2e
