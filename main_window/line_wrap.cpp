#include "line_wrap.h"

namespace sessiya {
namespace {

// The length of the longest prefix of `text` from `start` that fits in `width`.
qsizetype fittingLength(const QString& text, qsizetype start, const QFontMetricsF& metrics,
                        qreal width) {
  qsizetype low = 0;  // fits
  qsizetype high = text.size() - start;
  while (low < high) {
    const qsizetype middle = (low + high + 1) / 2;
    if (metrics.horizontalAdvance(text.mid(start, middle)) <= width) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return low;
}

}  // namespace

QStringList wrapLines(const QString& text, const QFontMetricsF& metrics, qreal width) {
  QStringList lines;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype fits = fittingLength(text, start, metrics, width);
    if (start + fits == text.size()) {
      lines << text.mid(start);
      break;
    }
    if (fits == 0) fits = 1;  // a character wider than the label still takes a line
    const QChar next = text.at(start + fits);
    if (next == u' ') {
      lines << text.mid(start, fits);
      start += fits + 1;
      continue;
    }
    const qsizetype last_space = text.lastIndexOf(u' ', start + fits - 1);
    const qsizetype end = last_space >= start ? last_space + 1 : start + fits;
    lines << text.mid(start, end - start);
    start = end;
  }
  return lines;
}

}  // namespace sessiya
