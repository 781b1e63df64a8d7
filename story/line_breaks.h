#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace sessiya {

// One line of a wrapped caption, in UTF-16 code units of the caption.
struct LineBreak {
  std::size_t start;
  std::size_t shown;  // characters the line shows; a space swallowed by the break is not one

  bool operator==(const LineBreak&) const = default;
};

// Where character boundary i (0 … size) stands when the whole caption is set on one
// endless line, in the units of the width: each front-end measures with its own font code.
using EndlessLinePosition = std::function<double(std::size_t boundary)>;

// The story labels' wrap. Spaces count like any other character, so a long run of them is
// never collapsed: it carries what follows it onto a later line. Each line is the longest
// prefix that fits; if the first character that does not fit is a space, the line ends
// there and that one space is dropped, otherwise it ends after its last space (or, with no
// space in it, mid-word).
std::vector<LineBreak> breakLines(std::u16string_view text, double width,
                                  const EndlessLinePosition& x);

}  // namespace sessiya
