#pragma once

#include <QImage>
#include <QWidget>

namespace sessiya {

// Picture1: draws its picture at the top-left corner at natural size, clipped, never
// scaled; what the picture does not cover shows the background.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void setPicture(const QImage& picture);
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace sessiya
