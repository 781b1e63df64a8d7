#pragma once

#include <QImage>
#include <QWidget>

namespace sessiya {

// Picture1: draws its picture at the top-left corner at natural size, clipped, never
// scaled; what the picture does not cover shows the background. On a screen of high pixel
// density it draws the sharp rendition instead, at the same size on screen.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  // `sharp` is the same picture at twice the pixel size, or null where there is none.
  void setPicture(const QImage& picture, const QImage& sharp = {});
  const QImage& picture() const { return picture_; }
  // The image paintEvent draws on the screen the box is on now.
  const QImage& shownPicture() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QImage sharp_;
};

}  // namespace sessiya
