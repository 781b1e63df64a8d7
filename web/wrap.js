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
  function endlessLine(text) {
    const x = [0];
    for (let i = 0; i < text.length; ++i) {
      const step = Math.floor(design(text[i])) + (i + 1 < text.length ? kerning(text.substr(i, 2)) : 0);
      x.push(x[i] + step);
    }
    return x.map((units) => units / FIXED);
  }
  const wrapped = new Map();
  return function linesOf(text, labelWidth) {
    const key = `${labelWidth}\n${text}`;
    let lines = wrapped.get(key);
    if (lines === undefined) {
      const x = endlessLine(text);
      lines = engine.wrapLines(text, labelWidth, (i) => x[i])
        .map(([start, shown]) => text.substr(start, shown));
      wrapped.set(key, lines);
    }
    return lines;
  };
}
