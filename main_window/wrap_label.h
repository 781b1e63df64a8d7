#pragma once

#include <QLabel>
#include <memory>

#include "line_wrap.h"

namespace sessiya {

// A story label: its caption word-wrapped to the label's width with every space kept,
// cut off at the label's height. The caption stays the label's text, for screen readers.
class WrapLabel : public QLabel {
  Q_OBJECT

 public:
  explicit WrapLabel(QWidget* parent = nullptr);

  // The lines the label shows for its caption.
  QStringList lines() const { return wrapped().lines(); }
  // Height in pixels of one line.
  int lineHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The caption laid out for the label's present text, font and width.
  const WrappedText& wrapped() const;

  // Laid out anew only when the caption, the font or the width has changed.
  mutable std::unique_ptr<WrappedText> wrapped_;
  mutable QString wrapped_text_;
  mutable QFont wrapped_font_;
  mutable int wrapped_width_ = -1;
};

}  // namespace sessiya
