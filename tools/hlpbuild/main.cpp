// hlpbuild SOURCE OUTPUT: turns the UTF-8 help text into the WinHelp file that the options
// dialog's help button opens. Debian has no help compiler, so the build makes its own.

#include "Cp932.h"
#include "HelpSource.h"
#include "WinHelpWriter.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

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

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: hlpbuild SOURCE.txt OUTPUT.HLP\n";
        return 2;
    }
    try {
        const ambrel::HelpDocument source = ambrel::parseHelpSource(readFile(argv[1]));
        const ambrel::HelpDocument shiftJis = ambrel::convertTexts(source, ambrel::utf8ToCp932);
        ambrel::WinHelpOptions options;
        options.fontName = ambrel::utf8ToCp932("ＭＳ Ｐゴシック");
        const std::vector<std::uint8_t> file = ambrel::buildWinHelpFile(shiftJis, options);
        writeFile(argv[2], file);
        std::cout << argv[2] << ": " << source.topics.size() << " topic(s), " << file.size()
                  << " bytes; text uses " << ambrel::topicDataSize(shiftJis) << " of the "
                  << ambrel::kTopicBlockSize << " bytes of the topic block\n";
    } catch (const std::exception& e) {
        std::cerr << "hlpbuild: " << argv[1] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
