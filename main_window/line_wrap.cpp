#include "line_wrap.h"

#include <QFontMetrics>
#include <QPainter>
#include <vector>

#include "line_breaks.h"

namespace sessiya {
namespace {

// Wider than any label, yet well inside the range of the layout's fixed-point widths.
constexpr qreal kEndless = 100'000;

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

}  // namespace

WrappedText::WrappedText(const QString& text, const QFont& font, qreal width)
    : line_height_(QFontMetrics(font).height()) {
  QTextLayout layout(text, font);
  const std::vector<qreal> x = characterPositions(layout);
  const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<std::size_t>(text.size()));
  for (const LineBreak& line_break :
       breakLines(units, width, [&x](std::size_t boundary) { return x[boundary]; })) {
    lines_ << text.mid(static_cast<qsizetype>(line_break.start),
                       static_cast<qsizetype>(line_break.shown));
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
