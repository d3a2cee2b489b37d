// The ANSI code page of this platform's narrow text: code page 932
// (Shift-JIS), as on a Japanese Windows, whose text the system's messages
// are written in.
#pragma once

#include <string>

namespace portable {

// The text converted from code page 932 to UTF-8; bytes that are not valid
// there become U+FFFD, so nothing is lost silently and nothing is cut.
std::string AnsiToUtf8(const char *text);

} // namespace portable
