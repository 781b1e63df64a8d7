#pragma once

#include <string>
#include <string_view>

namespace sessiya {

// `text` safe to print on a terminal or a console: control characters (C0, DEL, C1), bytes
// that are not UTF-8 and the backslash are written as "\xNN" ("\\" for the backslash), so
// a file's bytes quoted in a message cannot move the cursor, retitle the window or hide
// what follows.
std::string printableText(std::string_view text);

}  // namespace sessiya
