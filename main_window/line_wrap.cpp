#include "line_wrap.h"

#include <QFontMetrics>
#include <QPainter>
#include <vector>

namespace sessiya {
namespace {

// Wider than any label, yet well inside the range of the layout's fixed-point widths.
constexpr qreal kEndless = 100'000;

struct Break {
  qsizetype start;
  qsizetype shown;  // characters the line shows; a space swallowed by the break is not one
};

// Where each character starts when the whole text is set on one endless line.
std::vector<qreal> characterPositions(QTextLayout& layout) {
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(kEndless);
  layout.endLayout();
  const qsizetype size = layout.text().size();
  std::vector<qreal> positions(static_cast<std::size_t>(size) + 1);
  for (qsizetype i = 0; i <= size; ++i) positions[i] = line.cursorToX(i);
  layout.clearLayout();
  return positions;
}

std::vector<Break> breakLines(const QString& text, const std::vector<qreal>& x, qreal width) {
  std::vector<Break> breaks;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = start;
    while (end < text.size() && x[end + 1] - x[start] <= width) ++end;
    if (end == text.size()) {
      breaks.push_back({start, end - start});
      break;
    }
    if (end == start) end = start + 1;  // a character wider than the label still takes a line
    if (text.at(end) == u' ') {
      breaks.push_back({start, end - start});
      start = end + 1;
      continue;
    }
    const qsizetype last_space = text.lastIndexOf(u' ', end - 1);
    const qsizetype next = last_space >= start ? last_space + 1 : end;
    breaks.push_back({start, next - start});
    start = next;
  }
  return breaks;
}

}  // namespace

WrappedText::WrappedText(const QString& text, const QFont& font, qreal width)
    : line_height_(QFontMetrics(font).height()) {
  QTextLayout layout(text, font);
  for (const Break& line_break : breakLines(text, characterPositions(layout), width)) {
    lines_ << text.mid(line_break.start, line_break.shown);
    QStaticText& shaped = shaped_.emplace_back(lines_.back());
    shaped.setTextFormat(Qt::PlainText);
    shaped.prepare(QTransform(), font);
  }
}

void WrappedText::draw(QPainter& painter, int height) const {
  int top = 0;
  for (const QStaticText& line : shaped_) {
    if (top >= height) break;
    painter.drawStaticText(0, top, line);
    top += line_height_;
  }
}

}  // namespace sessiya
