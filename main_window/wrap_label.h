#pragma once

#include <QLabel>

namespace sessiya {

// A story label: its caption word-wrapped to the label's width with every space kept,
// cut off at the label's height. The caption stays the label's text, for screen readers.
class WrapLabel : public QLabel {
  Q_OBJECT

 public:
  explicit WrapLabel(QWidget* parent = nullptr);

  // The lines the label shows for its caption.
  QStringList lines() const;
  // Height in pixels of one line.
  int lineHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace sessiya
