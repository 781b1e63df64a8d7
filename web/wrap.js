// The engine's wrap decides where lines break; the page tells it where each character
// stands as the desktop sets text: in fixed point, 1/64 px, each glyph's advance (from
// the font's own table) truncated to it, each kerning adjustment rounded. Kerning is
// measured with the page's copy of the font, only for the pairs the font kerns.
const FIXED = 64;
const PIXELS = 11;

// The lines a label of the given width shows a text in.
export function textWrapper(engine, { unitsPerEm, advances, kerned }) {
  const kernedPairs = new Set(kerned);
  const measure = document.createElement("canvas").getContext("2d");
  measure.font = `${PIXELS}px "Sessiya Sans"`;
  measure.fontKerning = "normal";
  const design = (character) => advances[character] * PIXELS * FIXED / unitsPerEm;
  const kernings = new Map();
  function kerning(pair) {
    if (!kernedPairs.has(pair)) return 0;
    let kern = kernings.get(pair);
    if (kern === undefined) {
      kern = Math.round(measure.measureText(pair).width * FIXED - design(pair[0]) - design(pair[1]));
      kernings.set(pair, kern);
    }
    return kern;
  }
  // Where each boundary of the text stands with the whole text on one line, in pixels.
  function endlessLine(text) {
    const x = new Float64Array(text.length + 1);
    let units = 0;
    for (let i = 0; i < text.length; ++i) {
      units += Math.floor(design(text[i])) + (i + 1 < text.length ? kerning(text.substr(i, 2)) : 0);
      x[i + 1] = units / FIXED;
    }
    return x;
  }
  const wrapped = new Map();
  return function linesOf(text, labelWidth) {
    const key = `${labelWidth}\n${text}`;
    let lines = wrapped.get(key);
    if (lines === undefined) {
      const breaks = engine.wrapLines(text, labelWidth, endlessLine(text));
      lines = [];
      for (let i = 0; i < breaks.length; i += 2) {
        lines.push(text.substr(breaks.charCodeAt(i), breaks.charCodeAt(i + 1)));
      }
      wrapped.set(key, lines);
    }
    return lines;
  };
}
