#include "wrap_label.h"

#include <QPainter>

#include "line_wrap.h"

namespace sessiya {

WrapLabel::WrapLabel(QWidget* parent) : QLabel(parent) {
  setAutoFillBackground(true);
  setTextFormat(Qt::PlainText);
}

QStringList WrapLabel::lines() const { return wrapLines(text(), QFontMetricsF(font()), width()); }

int WrapLabel::lineHeight() const { return QFontMetrics(font()).height(); }

void WrapLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  const QFontMetrics metrics(font());
  int top = 0;
  for (const QString& line : lines()) {
    if (top >= height()) break;
    painter.drawText(0, top + metrics.ascent(), line);
    top += metrics.height();
  }
}

}  // namespace sessiya
