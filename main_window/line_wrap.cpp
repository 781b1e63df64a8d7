#include "line_wrap.h"

#include <QFontMetrics>
#include <QPainter>

#include "endless_line.h"
#include "line_breaks.h"

namespace sessiya {

WrappedText::WrappedText(const QString& text, const QFont& font, qreal width)
    : line_height_(QFontMetrics(font).height()) {
  const std::vector<qreal> x = endlessLinePositions(text, font);
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
