#pragma once

#include <cstddef>
#include <string_view>

namespace sessiya::testing {

// Length in UTF-16 code units of UTF-8 text: what a label counts.
inline std::size_t utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (unsigned char byte : utf8) {
    if ((byte & 0xC0) != 0x80) ++units;  // a code point starts here
    if ((byte & 0xF8) == 0xF0) ++units;  // beyond the basic plane: a surrogate pair
  }
  return units;
}

}  // namespace sessiya::testing
