// ambrel-e2e-driver: looks at and acts on the windows of other programs running under the
// same wine prefix, for the end-to-end tests. Every answer is a JSON line on standard
// output. "serve" keeps one driver process for a whole test session, because starting a
// process under wine costs far more than any command.
#include "Commands.h"
#include "JsonLine.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

using namespace ambrel::e2e;

namespace {

void writeLine(const std::string& line) {
    static HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    std::string data = line + "\n";
    DWORD written = 0;
    WriteFile(out, data.data(), (DWORD)data.size(), &written, nullptr);
}

// Runs one command and ends its answer with a "done" line, so that the reader knows where
// one answer stops even when a command prints nothing.
bool execute(const Args& words) {
    if (words.empty()) {
        writeLine(JsonLine().add("done", true).add("ok", false).add("error", "empty").str());
        return false;
    }
    std::string error;
    try {
        Args rest(words.begin() + 1, words.end());
        if (!runCommand(words[0], rest, writeLine))
            error = "unknown command: " + toUtf8(words[0]);
    } catch (const std::exception& e) {
        error = e.what();
    }
    JsonLine done;
    done.add("done", true).add("ok", error.empty());
    if (!error.empty())
        done.add("error", error);
    writeLine(done.str());
    return error.empty();
}

bool readLine(HANDLE in, std::string& line) {
    line.clear();
    char c;
    DWORD got = 0;
    while (ReadFile(in, &c, 1, &got, nullptr) && got == 1) {
        if (c == '\n')
            return true;
        if (c != '\r')
            line += c;
    }
    return !line.empty();
}

Args splitTabs(const std::wstring& text) {
    Args words;
    size_t start = 0;
    while (true) {
        size_t tab = text.find(L'\t', start);
        words.push_back(text.substr(start, tab - start));
        if (tab == std::wstring::npos)
            break;
        start = tab + 1;
    }
    return words;
}

int serve() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    writeLine(JsonLine().add("ready", true).str());
    while (readLine(in, line)) {
        if (line == "quit")
            break;
        execute(splitTabs(fromUtf8(line)));
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Args words(argv + 1, argv + argc);
    if (words.empty() || words[0] == L"help" || words[0] == L"--help") {
        writeLine(JsonLine().add("usage", usage()).str());
        return words.empty() ? 2 : 0;
    }
    if (words[0] == L"serve")
        return serve();
    return execute(words) ? 0 : 1;
}
