#include "wrap_label.h"

#include <QPainter>

namespace sessiya {

WrapLabel::WrapLabel(QWidget* parent) : QLabel(parent) {
  setAutoFillBackground(true);
  setTextFormat(Qt::PlainText);
}

int WrapLabel::lineHeight() const { return QFontMetrics(font()).height(); }

const WrappedText& WrapLabel::wrapped() const {
  // The bound only guards against a caller that feeds endless new texts.
  constexpr qsizetype kKept = 256;
  if (laid_out_font_ != font() || laid_out_width_ != width() || laid_out_.size() >= kKept) {
    laid_out_.clear();
    laid_out_font_ = font();
    laid_out_width_ = width();
  }
  std::shared_ptr<const WrappedText>& kept = laid_out_[text()];
  if (!kept) kept = std::make_shared<const WrappedText>(text(), laid_out_font_, laid_out_width_);
  return *kept;
}

void WrapLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  wrapped().draw(painter, height());
}

}  // namespace sessiya
