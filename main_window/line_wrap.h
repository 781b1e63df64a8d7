#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>
#include <QStringList>
#include <QTextLayout>
#include <vector>

class QPainter;

namespace sessiya {

// A caption broken into the lines a story label shows. Spaces count like any other
// character, so a long run of them is never collapsed: it carries what follows it onto a
// later line. Each line is the longest prefix that fits; if the first character that does
// not fit is a space, the line ends there and that one space is dropped, otherwise it ends
// after its last space (or, with no space in it, mid-word). The lines are shaped once, so
// repainting them is cheap.
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
