#pragma once

#include <QFont>
#include <QString>
#include <vector>

namespace sessiya {

// Where each character boundary of `text` (0 … size) stands when the whole text is set in
// `font` on one endless line: the positions QTextLine::cursorToX gives, read in one pass
// over the shaped line instead of one walk from the line's start per boundary.
std::vector<qreal> endlessLinePositions(const QString& text, const QFont& font);

}  // namespace sessiya
