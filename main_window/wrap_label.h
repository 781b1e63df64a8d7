#pragma once

#include <QHash>
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

  // The story's captions are few and never change: each is laid out once for the label's
  // font and width and shown again from here. A new font or width starts afresh.
  mutable QHash<QString, std::shared_ptr<const WrappedText>> laid_out_;
  mutable QFont laid_out_font_;
  mutable int laid_out_width_ = -1;
};

}  // namespace sessiya
