// hlpbuild SOURCE OUTPUT.HLP: turns the UTF-8 help text into the WinHelp file that the options
// dialog's help button opens. Debian has no help compiler, so the build makes its own.
// hlpbuild --readme PREFACE SOURCE OUTPUT.TXT: the read-me of the download, the preface and then
// the same help as plain text, for the Windows versions that have no WinHelp viewer. It is
// written as Notepad on a Japanese Windows opens it without asking: Shift-JIS, CR LF.
// hlpbuild --window SOURCE OUTPUT: the same help for the program's own help window, kept in the
// executable: the title and then the text, unwrapped with CR LF, each in UTF-16LE and ended by
// a NUL character, as the window hands them to the system.

#include "Cp932.h"
#include "HelpSource.h"
#include "PlainText.h"
#include "WinHelpWriter.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <utility>

namespace {

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error(std::string("cannot read ") + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

constexpr int kReadmeColumns = 72;

void writeFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    // Written beside the target and renamed, so that a failed run leaves no half file that
    // the build would take as up to date.
    const std::string temporary = std::string(path) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + temporary);
        }
    }
    if (std::rename(temporary.c_str(), path) != 0) {
        throw std::runtime_error(std::string("cannot rename ") + temporary + " to " + path);
    }
}

std::string renderReadme(const char* prefacePath, const char* helpPath) {
    const ambrel::HelpDocument preface = ambrel::parseHelpSource(readFile(prefacePath));
    const ambrel::HelpDocument help = ambrel::parseHelpSource(readFile(helpPath));
    const char* const crlf = "\r\n";
    return ambrel::utf8ToCp932(ambrel::renderPlainText(preface, kReadmeColumns, crlf) + crlf +
                               ambrel::renderPlainText(help, kReadmeColumns, crlf));
}

std::string renderWindowText(const char* helpPath) {
    ambrel::HelpDocument help = ambrel::parseHelpSource(readFile(helpPath));
    const std::string title = std::move(help.title); // the window's caption, not its text
    help.title.clear();
    const std::string nul(1, '\0');
    return ambrel::utf8ToUtf16le(title + nul + ambrel::renderPlainText(help, 0, "\r\n") + nul);
}

void compileHelp(const char* sourcePath, const char* outputPath) {
    const ambrel::HelpDocument source = ambrel::parseHelpSource(readFile(sourcePath));
    const ambrel::HelpDocument shiftJis = ambrel::convertTexts(source, ambrel::utf8ToCp932);
    ambrel::WinHelpOptions options;
    options.fontName = ambrel::utf8ToCp932("ＭＳ Ｐゴシック");
    const std::vector<std::uint8_t> file = ambrel::buildWinHelpFile(shiftJis, options);
    writeFile(outputPath, file);
    std::cout << outputPath << ": " << source.topics.size() << " topic(s), " << file.size()
              << " bytes; the text takes " << ambrel::topicBlockCount(shiftJis)
              << " topic block(s) of " << ambrel::kTopicBlockSize << " bytes\n";
}

} // namespace

int main(int argc, char** argv) {
    const bool readme = argc == 5 && std::string(argv[1]) == "--readme";
    const bool window = argc == 4 && std::string(argv[1]) == "--window";
    if (argc != 3 && !readme && !window) {
        std::cerr << "usage: hlpbuild SOURCE.txt OUTPUT.HLP\n"
                     "       hlpbuild --readme PREFACE.txt SOURCE.txt OUTPUT.TXT\n"
                     "       hlpbuild --window SOURCE.txt OUTPUT\n";
        return 2;
    }
    const char* const input = readme ? argv[3] : window ? argv[2] : argv[1];
    try {
        if (window) {
            const std::string text = renderWindowText(argv[2]);
            writeFile(argv[3], std::vector<std::uint8_t>(text.begin(), text.end()));
            std::cout << argv[3] << ": " << text.size() << " bytes\n";
        } else if (readme) {
            const std::string text = renderReadme(argv[2], argv[3]);
            writeFile(argv[4], std::vector<std::uint8_t>(text.begin(), text.end()));
            std::cout << argv[4] << ": " << text.size() << " bytes\n";
        } else {
            compileHelp(argv[1], argv[2]);
        }
    } catch (const std::exception& e) {
        std::cerr << "hlpbuild: " << input << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
