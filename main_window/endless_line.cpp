#include "endless_line.h"

#include <private/qtextengine_p.h>

#include <QTextLayout>

namespace sessiya {
namespace {

// Wider than any label, yet well inside the range of the layout's fixed-point widths.
constexpr qreal kEndless = 100'000;

// The positions of a left-to-right line without tabs or objects, summed glyph by glyph as
// cursorToX sums them, a character inside a ligature taking its share of the glyph. False
// for any other line, which is then measured boundary by boundary.
bool readInOnePass(QTextEngine& engine, std::vector<qreal>& positions) {
  if (engine.isRightToLeft()) return false;
  if (!engine.layoutData) engine.itemize();
  const QCharAttributes* attributes = engine.attributes();
  if (attributes == nullptr) return false;
  const int items = static_cast<int>(engine.layoutData->items.size());
  QFixed x = 0;
  for (int item = 0; item < items; ++item) {
    if (engine.layoutData->items[item].num_glyphs == 0) engine.shape(item);
    const QScriptItem& run = engine.layoutData->items[item];
    if (run.analysis.bidiLevel % 2 != 0 || run.analysis.flags >= QScriptAnalysis::TabOrObject) {
      return false;
    }
    const int length = engine.length(item);
    const unsigned short* clusters = engine.logClusters(&run);
    const QGlyphLayout glyphs = engine.shapedGlyphs(&run);
    int glyph = 0;
    for (int at = 0; at < length; ++at) {
      while (glyph < clusters[at]) x += glyphs.effectiveAdvance(glyph++);
      positions[static_cast<std::size_t>(run.position + at)] =
          (x + engine.offsetInLigature(&run, at, length, clusters[at])).toReal();
    }
    while (glyph < run.num_glyphs) x += glyphs.effectiveAdvance(glyph++);
  }
  positions.back() = x.toReal();
  // A boundary inside a grapheme stands where the grapheme ends, as the cursor does.
  for (std::size_t at = positions.size() - 1; at-- > 0;) {
    if (!attributes[at].graphemeBoundary) positions[at] = positions[at + 1];
  }
  return true;
}

}  // namespace

std::vector<qreal> endlessLinePositions(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  std::vector<qreal> positions(static_cast<std::size_t>(text.size()) + 1);
  // The shaped text alone gives the positions; a line is laid out only for the cursor.
  if (readInOnePass(*layout.engine(), positions)) return positions;
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(kEndless);
  layout.endLayout();
  for (qsizetype at = 0; at <= text.size(); ++at) {
    positions[static_cast<std::size_t>(at)] = line.cursorToX(static_cast<int>(at));
  }
  return positions;
}

}  // namespace sessiya
