#pragma once
// The help as plain text, where no WinHelp viewer is installed: titles and headings set off by
// marks; for Notepad each paragraph wrapped to a width in columns, since Notepad does not wrap
// unless asked, and for the program's own help window not wrapped. A half-width character takes one
// column, any other two, as in the Shift-JIS text that the file ends up in. Texts stay UTF-8 here;
// the caller converts them.

#include "HelpSource.h"

#include <string>
#include <string_view>
#include <vector>

namespace ambrel {

// The lines of one paragraph, none wider than `columns` except for a closing bracket or a
// sentence mark, which hangs over the edge rather than start a line. Breaks fall between
// full-width characters or at spaces, never inside a run of ASCII (a file name, a number)
// that fits on a line. Continuation lines start with `indent` spaces.
std::vector<std::string> wrapParagraph(std::string_view text, int columns, int indent = 0);

// Display width in columns of a UTF-8 text.
int textColumns(std::string_view text);

// The whole document, its lines joined by `lineEnd` (the last line ended too); the title set off
// by rules first, unless it is empty. With `columns`
// 0 no paragraph is wrapped, for a window that wraps its text itself, and each rule is as wide
// as what it sets off.
std::string renderPlainText(const HelpDocument& doc, int columns, std::string_view lineEnd);

} // namespace ambrel
