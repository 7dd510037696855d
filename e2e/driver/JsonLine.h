// One JSON object per output line, in UTF-8, so that the Python side reads the driver's
// answers with json.loads and never has to guess an encoding.
#pragma once

#include <string>
#include <vector>

namespace ambrel::e2e {

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);

class JsonLine {
public:
    JsonLine& add(const char* key, const std::wstring& value);
    JsonLine& add(const char* key, const std::string& value);
    JsonLine& add(const char* key, const char* value) { return add(key, std::string(value)); }
    JsonLine& add(const char* key, long long value);
    JsonLine& add(const char* key, unsigned long value) {
        return add(key, static_cast<long long>(value));
    }
    JsonLine& add(const char* key, long value) { return add(key, static_cast<long long>(value)); }
    JsonLine& add(const char* key, int value) { return add(key, static_cast<long long>(value)); }
    JsonLine& add(const char* key, unsigned int value) {
        return add(key, static_cast<long long>(value));
    }
    JsonLine& add(const char* key, bool value);
    JsonLine& add(const char* key, std::initializer_list<long long> numbers);
    // A value that is already JSON (an object or an array built by the caller).
    JsonLine& addRaw(const char* key, const std::string& json);

    std::string str() const { return "{" + body_ + "}"; }

    static std::string quote(const std::string& utf8);
    static std::string array(const std::vector<std::string>& jsonItems);

private:
    void key(const char* name);
    std::string body_;
};

} // namespace ambrel::e2e
