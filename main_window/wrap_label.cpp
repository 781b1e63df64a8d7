#include "wrap_label.h"

#include <QPainter>

namespace sessiya {

WrapLabel::WrapLabel(QWidget* parent) : QLabel(parent) {
  setAutoFillBackground(true);
  setTextFormat(Qt::PlainText);
}

int WrapLabel::lineHeight() const { return QFontMetrics(font()).height(); }

const WrappedText& WrapLabel::wrapped() const {
  if (!wrapped_ || wrapped_text_ != text() || wrapped_font_ != font() ||
      wrapped_width_ != width()) {
    wrapped_text_ = text();
    wrapped_font_ = font();
    wrapped_width_ = width();
    wrapped_ = std::make_unique<WrappedText>(wrapped_text_, wrapped_font_, wrapped_width_);
  }
  return *wrapped_;
}

void WrapLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  wrapped().draw(painter, height());
}

}  // namespace sessiya
