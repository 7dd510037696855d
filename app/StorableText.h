#pragma once
// What the settings file can hold. The dialogs are Unicode, the file is kept in the system's
// ANSI code page: a character the code page lacks would be written as "?" or a look-alike and
// read back as something else, so such text is found before it is stored.

#include <optional>
#include <string>
#include <string_view>

namespace ambrel {

class AnsiCodePage;
class FileNames;

// The characters of `text` (UTF-8) that do not come back unchanged through the code page, each
// once, in the order they first appear; empty when the whole text does.
std::string charactersLost(const AnsiCodePage& codePage, std::string_view text);

// The path typed or pasted into a box, without the double quotes around it that Explorer's
// "copy as path" adds. No path can hold a double quote, so nothing else is lost.
std::string unquotedPath(std::string_view text);

// The sound file's path as the settings file can hold it: the path itself, or else its short
// (8.3) form when the file system gives one that the code page holds; nullopt when neither.
std::optional<std::string> storablePath(const std::string& path, const AnsiCodePage& codePage,
                                        const FileNames& names);

} // namespace ambrel
