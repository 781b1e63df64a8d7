// The engine's wrap decides where lines break; the page tells it where each character
// stands as the desktop sets text: in fixed point, 1/64 px, each glyph's advance (from
// the font's own table) truncated to it, each kerning adjustment (from the font's pair
// table, read by the build) rounded to it, as the desktop's shaper rounds it.
const FIXED = 64;
const PIXELS = 11;

// The lines a label of the given width shows a text in.
export function textWrapper(engine, { unitsPerEm, advances, kerning }) {
  const toFixed = (units) => units * PIXELS * FIXED / unitsPerEm;
  const kernings = new Map();
  for (const [units, pairs] of Object.entries(kerning)) {
    const adjustment = Math.round(toFixed(Number(units)));
    for (let i = 0; i < pairs.length; i += 2) kernings.set(pairs.substr(i, 2), adjustment);
  }
  // Where each boundary of the text stands with the whole text on one line, in pixels.
  function endlessLine(text) {
    const x = new Float64Array(text.length + 1);
    let units = 0;
    for (let i = 0; i < text.length; ++i) {
      units += Math.floor(toFixed(advances[text[i]])) +
        (i + 1 < text.length ? kernings.get(text.substr(i, 2)) ?? 0 : 0);
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
