#include "line_wrap.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include "line_breaks.h"

namespace sessiya {
namespace {

// Wider than any label, yet well inside the range of the layout's fixed-point widths.
constexpr qreal kEndless = 100'000;

}  // namespace

WrappedText::WrappedText(const QString& text, const QFont& font, qreal width)
    : line_height_(QFontMetrics(font).height()) {
  // The whole caption on one endless line: where Qt's cursor stands at each boundary.
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(kEndless);
  layout.endLayout();
  const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<std::size_t>(text.size()));
  const auto x = [&line](std::size_t boundary) {
    return line.cursorToX(static_cast<int>(boundary));
  };
  for (const LineBreak& line_break : breakLines(units, width, x)) {
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
