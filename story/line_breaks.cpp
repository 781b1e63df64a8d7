#include "line_breaks.h"

namespace sessiya {

std::vector<LineBreak> breakLines(std::u16string_view text, double width,
                                  const EndlessLinePosition& x) {
  std::vector<LineBreak> breaks;
  std::size_t start = 0;
  while (start < text.size()) {
    const double left = x(start);
    std::size_t end = start;
    while (end < text.size() && x(end + 1) - left <= width) ++end;
    if (end == text.size()) {
      breaks.push_back({start, end - start});
      break;
    }
    if (end == start) end = start + 1;  // a character wider than the label still takes a line
    if (end < text.size() && text[end] == u' ') {
      breaks.push_back({start, end - start});
      start = end + 1;
      continue;
    }
    const std::size_t last_space = text.find_last_of(u' ', end - 1);
    const std::size_t next =
        last_space != std::u16string_view::npos && last_space >= start ? last_space + 1 : end;
    breaks.push_back({start, next - start});
    start = next;
  }
  return breaks;
}

}  // namespace sessiya
