#pragma once

#include <QFontMetricsF>
#include <QString>
#include <QStringList>

namespace sessiya {

// Breaks a caption into the lines a story label shows. Spaces count like any other
// character, so a long run of them is never collapsed: it carries what follows it onto a
// later line. Each line is the longest prefix that fits; if the first character that does
// not fit is a space, the line ends there and that one space is dropped, otherwise it ends
// after its last space (or, with no space in it, mid-word).
QStringList wrapLines(const QString& text, const QFontMetricsF& metrics, qreal width);

}  // namespace sessiya
