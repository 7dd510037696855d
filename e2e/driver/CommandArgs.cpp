#include "CommandArgs.h"

#include "JsonLine.h"

#include <cwchar>
#include <set>

namespace ambrel::e2e {

namespace {

// Options that stand alone; every other option takes the argument after it as its value.
bool isFlag(const std::wstring& name) {
    static const std::set<std::wstring> flags = {L"post", L"send",    L"visible", L"dump",
                                                 L"all",  L"pending", L"frozen",  L"write"};
    return flags.count(name) != 0;
}

double slownessFactor = 1.0;

} // namespace

void setSlowness(double factor) {
    slownessFactor = factor < 1.0 ? 1.0 : factor;
}

double slowness() {
    return slownessFactor;
}

UINT sendTimeoutMs() {
    return static_cast<UINT>(3000 * slownessFactor);
}

ArgReader::ArgReader(const Args& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, L"--") == 0) {
            std::wstring name = a.substr(2);
            const bool hasValue = i + 1 < args.size() && !isFlag(name);
            options_[name] = hasValue ? args[++i] : L"";
        } else {
            positional_.push_back(a);
        }
    }
}

const std::wstring& ArgReader::at(size_t i, const char* what) const {
    if (i >= positional_.size()) {
        throw CommandError(std::string("missing argument: ") + what);
    }
    return positional_[i];
}

std::optional<std::wstring> ArgReader::option(const wchar_t* name) const {
    auto it = options_.find(name);
    if (it == options_.end()) {
        return std::nullopt;
    }
    return it->second;
}

long long number(const std::wstring& text, const char* what) {
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(text.c_str(), &end, 0);
    if (text.empty() || *end != L'\0') {
        throw CommandError(std::string("not a number for ") + what + ": " + toUtf8(text));
    }
    return value;
}

int intArg(const std::wstring& text, const char* what) {
    return static_cast<int>(number(text, what));
}

HWND windowArg(const std::wstring& text) {
    HWND hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(number(text, "window handle")));
    if (!IsWindow(hwnd)) {
        throw CommandError("no such window: " + toUtf8(text));
    }
    return hwnd;
}

long long handleNumber(const void* handle) {
    return static_cast<long long>(reinterpret_cast<UINT_PTR>(handle));
}

} // namespace ambrel::e2e
