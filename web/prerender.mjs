// Writes the opening scene as the page draws it, from the engine itself, for the site's
// index.html to show before its script has run:
//   node prerender.mjs ENGINE_JS METRICS_JSON STYLE_CSS > scene.json
// {labels: {Label1: {lines, text, reflowed, hidden}, …}, buttons: [{hidden, name}, …],
//  picture: {description, height}}
import { readFileSync } from "node:fs";
import vm from "node:vm";
import { textWrapper } from "./wrap.js";
import { TWIPS_PER_PIXEL, optionName, reflowedText } from "./scene_text.js";

const [enginePath, metricsPath, stylePath] = process.argv.slice(2);
const sandbox = vm.createContext({ WebAssembly, TextDecoder, atob, console });
vm.runInContext(`${readFileSync(enginePath, "utf8")}\nthis.SessiyaEngine = SessiyaEngine;`, sandbox);
const engine = sandbox.SessiyaEngine();

// The labels' widths, as the window's style sets them.
const style = readFileSync(stylePath, "utf8");
function labelWidth(id) {
  const rule = new RegExp(`^#${id} \\{[^}]*\\bwidth: (\\d+)px`, "m").exec(style);
  if (rule === null) throw new Error(`prerender: no width for #${id} in ${stylePath}`);
  return Number(rule[1]);
}

const linesOf = textWrapper(engine, JSON.parse(readFileSync(metricsPath, "utf8")));
const game = new engine.Game({ loadPicture() {}, showDialog() {} });
const screen = game.screen();
const labels = {};
screen.captions.forEach((text, i) => {
  const id = `Label${i + 1}`;
  labels[id] = { lines: linesOf(text, labelWidth(id)), text, reflowed: reflowedText(text),
                 hidden: i >= 2 && !screen.labelVisible[i - 2] };
});
const buttons = screen.buttonVisible.map((visible, i) => ({
  hidden: !visible, name: optionName(engine.spokenLetter(i + 1), screen.captions[i + 2]) }));
const picture = { description: engine.pictureDescription(screen.picture),
                  height: screen.pictureHeight / TWIPS_PER_PIXEL };
game.delete();
process.stdout.write(`${JSON.stringify({ labels, buttons, picture })}\n`);
