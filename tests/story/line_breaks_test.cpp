#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_breaks.h"

namespace sessiya {
namespace {

struct WrapCase {
  const char16_t* text;
  double width;  // in characters: every character is one unit wide
  std::vector<std::u16string> lines;
};

const WrapCase kCases[] = {
    {u"", 4, {}},
    {u"aaaa aaaa bbbb", 9, {u"aaaa aaaa", u"bbbb"}},    // the space at the break is dropped
    {u"aaaa bbbbbb", 9, {u"aaaa ", u"bbbbbb"}},         // a word that does not fit moves on
    {u"aaaaaaaaaaaa", 5, {u"aaaaa", u"aaaaa", u"aa"}},  // no space: broken mid-word
    {u"aa      bb", 4, {u"aa  ", u"   ", u"bb"}},       // a run of spaces is kept
    {u"quote          by", 8, {u"quote   ", u"      by"}},
    {u"ab", 0.5, {u"a", u"b"}},  // a character wider than the label still takes a line
};

std::vector<std::u16string> wrap(const WrapCase& wrap_case) {
  const std::u16string_view text(wrap_case.text);
  std::vector<std::u16string> lines;
  for (const LineBreak& line :
       breakLines(text, wrap_case.width, [](std::size_t boundary) { return double(boundary); })) {
    lines.emplace_back(text.substr(line.start, line.shown));
  }
  return lines;
}

TEST(LineBreaks, EveryCaseBreaksAsTheLabelsDo) {
  for (const WrapCase& wrap_case : kCases) {
    EXPECT_EQ(wrap(wrap_case), wrap_case.lines) << std::u16string_view(wrap_case.text).size();
  }
}

// Each line is measured from where it starts on the endless line, not from the left.
TEST(LineBreaks, MeasuresFromTheLineStart) {
  const std::vector<double> x = {0, 1, 1.5, 2.5, 3.5, 4.5};
  const std::vector<LineBreak> lines =
      breakLines(u"ab cd", 2.5, [&x](std::size_t boundary) { return x[boundary]; });
  EXPECT_EQ(lines, (std::vector<LineBreak>{{0, 3}, {3, 2}}));
}

}  // namespace
}  // namespace sessiya
