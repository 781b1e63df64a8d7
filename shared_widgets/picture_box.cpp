#include "picture_box.h"

#include <QPainter>

#include "sharp_picture.h"

namespace sessiya {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

void PictureBox::setPicture(const QImage& picture, const QImage& sharp) {
  picture_ = picture;
  sharp_ = sharp;
  sharp_.setDevicePixelRatio(kSharpRatio);  // drawn at the logical size of `picture`
  update();
}

const QImage& PictureBox::shownPicture() const {
  return !sharp_.isNull() && wantsSharpPicture(devicePixelRatioF()) ? sharp_ : picture_;
}

void PictureBox::paintEvent(QPaintEvent*) {
  const QImage& shown = shownPicture();
  if (shown.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);  // at ratios such as 1.25 or 1.5
  painter.drawImage(0, 0, shown);
}

}  // namespace sessiya
