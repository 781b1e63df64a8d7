#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

namespace sessiya {

// A caption broken into the lines a story label shows, by the story's wrap (breakLines),
// measured with Qt's text layout. The lines are shaped once, so repainting them is cheap.
class WrappedText {
 public:
  WrappedText(const QString& text, const QFont& font, qreal width);

  // What each line shows.
  QStringList lines() const { return lines_; }
  // Draws the lines from the top-left corner down, leaving out those below `height`.
  void draw(QPainter& painter, int height) const;

 private:
  QStringList lines_;
  std::vector<QStaticText> shaped_;
  int line_height_;
};

}  // namespace sessiya
