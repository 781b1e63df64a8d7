#pragma once

#include <string>
#include <string_view>

namespace sessiya {

// `text` safe to print on a terminal or a console: control characters (C0, DEL, C1) and bytes
// that are not UTF-8 are written as "\xNN", so a file's bytes quoted in a message cannot move
// the cursor, retitle the window or hide what follows. Printable text passes unchanged, so a
// message built of printable parts can be made printable again.
std::string printableText(std::string_view text);

}  // namespace sessiya
