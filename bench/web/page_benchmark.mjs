// Times sessiya.html in headless Chromium, from disk, in each viewport given, so in both of
// the page's layouts; each figure beside the browser's own cost for the same result:
// - navigation to the opening scene painted, against the same scene as a page without
//   script (the game's drawn document, its scripts blanked to the same size), and against
//   a page of one line padded to the same size;
// - one move, click to the next scene painted, against a page without script that puts
//   the same lines, buttons and picture in place of the last ones.
// The variants take turns run by run, so a change in the machine's load falls on all of
// them alike. Prints medians with their spread (the middle half of the runs, first to
// third quartile):
//   node page_benchmark.mjs SESSIYA.html RUNS [WIDTHxHEIGHT ...]
import { writeFileSync, statSync } from "node:fs";
import { createRequire } from "node:module";
import { loadavg, tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const require = createRequire(new URL("../../tests/web/package.json", import.meta.url));
const { chromium } = require("playwright-core");

const [pagePath, runsArgument = "20", ...viewportArguments] = process.argv.slice(2);
const runs = Number(runsArgument);
// The exact window, and a phone's screen, where the page takes one column.
const viewports = (viewportArguments.length ? viewportArguments : ["1000x700", "390x844"])
  .map((text) => {
    const [width, height] = text.split("x").map(Number);
    return { name: text, width, height };
  });
const size = statSync(pagePath).size;
const padded = (html) => html + `<!--${"x".repeat(Math.max(0, size - Buffer.byteLength(html) - 7))}-->`;

// A page with one line of text, padded with a comment to the game's size.
const plainPath = join(tmpdir(), "sessiya-static-page.html");
writeFileSync(plainPath, padded('<!DOCTYPE html><html lang="ru"><meta charset="utf-8">' +
  '<meta name="viewport" content="width=device-width, initial-scale=1"><title>Сессия</title>' +
  "<p>Сессия</p>"));

const quantile = (values, q) => {
  const sorted = [...values].sort((a, b) => a - b);
  const at = (sorted.length - 1) * q;
  const below = Math.floor(at);
  return sorted[below] + (sorted[Math.min(below + 1, sorted.length - 1)] - sorted[below]) * (at - below);
};
const summary = (values, digits) => `${quantile(values, 0.5).toFixed(digits)} ms ` +
  `(${quantile(values, 0.25).toFixed(digits)}–${quantile(values, 0.75).toFixed(digits)})`;

const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
const tabs = await Promise.all(viewports.map((viewport) =>
  browser.newPage({ viewport: { width: viewport.width, height: viewport.height } })));
const gameReady = () => document.documentElement.dataset.ready === "true";
const loaded = () => document.readyState === "complete";

// What a move changes on screen: each label's lines (drawn, and as one column shows them),
// which labels and buttons show, the picture and its box's height, the focused control.
function shownScene() {
  const $ = (id) => document.getElementById(id);
  const labels = [1, 2, 3, 4, 5, 6].map((n) => $(`Label${n}`));
  return {
    lines: labels.map((label) => [...label.querySelectorAll(":scope > div")].map((row) => row.textContent)),
    reflowed: labels.map((label) => label.querySelector(".reflowed").textContent),
    labelsHidden: labels.map((label) => label.hidden),
    buttonsHidden: [1, 2, 3, 4].map((n) => $(`Command${n}`).hidden),
    picture: $("Picture1").querySelector("img")?.getAttribute("src") ?? "",
    pictureHeight: $("Picture1").style.height,
    focused: document.activeElement.id,
  };
}
const OPTIONS = [1, 3, 4];  // option 2 opens the dialog

// Per viewport: the opening scene as a page without script, and the scenes the timed moves
// lead to, read from the game as it drew them.
const scenes = [];
for (const [v, tab] of tabs.entries()) {
  await tab.goto(pathToFileURL(pagePath).href);
  await tab.waitForFunction(gameReady);
  const oneColumn = await tab.evaluate(() => document.documentElement.classList.contains("reflow"));
  const drawn = await tab.evaluate(() => {
    const copy = document.documentElement.cloneNode(true);
    copy.querySelectorAll('script:not([type="application/json"]), meta[http-equiv]')
      .forEach((element) => element.remove());
    return `<!DOCTYPE html>${copy.outerHTML}`;
  });
  const scenePath = join(tmpdir(), `sessiya-static-scene-${v}.html`);
  writeFileSync(scenePath, padded(drawn));
  const reached = await tab.evaluate(async ({ options, shown }) => {
    const read = new Function(`return (${shown})();`);
    const $ = (id) => document.getElementById(id);
    const nextFrame = () => new Promise((resolve) => requestAnimationFrame(resolve));
    $("m_new").click();
    await nextFrame();
    const opening = read();
    const after = [];
    for (const option of options) {
      $("m_new").click();
      await nextFrame();
      $(`Command${option}`).click();
      await nextFrame();
      after.push(read());
    }
    return { opening, after };
  }, { options: OPTIONS, shown: shownScene.toString() });
  scenes.push({ oneColumn, scenePath, ...reached });
}

// Navigation start to the first contentful paint; the game's window stays hidden until
// its first scene is drawn, so there that paint is the scene. The pages load in turn in
// the same tab, so the browser's own start-up work is left out of all.
async function firstPaint(tab, path, ready) {
  await tab.goto(pathToFileURL(path).href);
  await tab.waitForFunction(ready);
  const paint = await tab.waitForFunction(() =>
    performance.getEntriesByName("first-contentful-paint")[0]?.startTime);
  return paint.jsonValue();
}

const times = viewports.map(() => ({ game: [], scene: [], plain: [], moves: [], bare: [] }));
for (let run = 0; run < runs; ++run) {
  for (const [v, tab] of tabs.entries()) {
    times[v].game.push(await firstPaint(tab, pagePath, gameReady));
    times[v].scene.push(await firstPaint(tab, scenes[v].scenePath, loaded));
    times[v].plain.push(await firstPaint(tab, plainPath, loaded));
  }
}

// Moves timed from the click inside a frame to the end of that frame's rendering: the
// message posted there runs once style, layout and paint are done. Each move starts from
// the opening scene drawn two frames before. In the page without script the click puts
// the scene the game drew in place, reusing the nodes and pictures as the game does.
async function moves(tab, bare, scenesShown, count) {
  return tab.evaluate(async ({ bare, scenesShown, count, options }) => {
    const $ = (id) => document.getElementById(id);
    const nextFrame = () => new Promise((resolve) => requestAnimationFrame(resolve));
    const pictures = new Map();
    function show(scene) {
      scene.lines.forEach((lines, i) => {
        const label = $(`Label${i + 1}`);
        const rows = [...label.querySelectorAll(":scope > div")];
        while (rows.length > lines.length) rows.pop().remove();
        lines.forEach((line, r) => {
          if (r < rows.length) {
            if (rows[r].firstChild.data !== line) rows[r].firstChild.data = line;
          } else {
            const row = document.createElement("div");
            row.append(line);
            label.insertBefore(row, label.querySelector(".for-screen-readers"));
          }
        });
        label.querySelector(".reflowed").textContent = scene.reflowed[i];
        label.hidden = scene.labelsHidden[i];
      });
      scene.buttonsHidden.forEach((hidden, i) => { $(`Command${i + 1}`).hidden = hidden; });
      const box = $("Picture1");
      box.style.height = scene.pictureHeight;
      if (!pictures.has(scene.picture)) {
        const img = new Image();
        img.src = scene.picture;
        pictures.set(scene.picture, img);
      }
      if (box.firstElementChild !== pictures.get(scene.picture)) box.replaceChildren(pictures.get(scene.picture));
      $(scene.focused)?.focus({ preventScroll: true });
    }
    const times = [];
    for (let i = 0; i < count; ++i) {
      const which = i % options.length;
      if (bare) show(scenesShown.opening); else $("m_new").click();
      await nextFrame();  // the opening scene is drawn before the move starts
      await nextFrame();
      times.push(await new Promise((resolve) => requestAnimationFrame(() => {
        const start = performance.now();
        if (bare) show(scenesShown.after[which]); else $(`Command${options[which]}`).click();
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve(performance.now() - start);
        channel.port2.postMessage(0);
      })));
    }
    return times;
  }, { bare, scenesShown, count, options: OPTIONS });
}
for (let run = 0; run < runs; ++run) {
  for (const [v, tab] of tabs.entries()) {
    await tab.goto(pathToFileURL(pagePath).href);
    await tab.waitForFunction(gameReady);
    times[v].moves.push(...await moves(tab, false, scenes[v], 6));
    await tab.goto(pathToFileURL(scenes[v].scenePath).href);
    await tab.waitForFunction(loaded);
    times[v].bare.push(...await moves(tab, true, scenes[v], 6));
  }
}
await browser.close();

const load = loadavg().map((average) => average.toFixed(2)).join(", ");
const ratio = (values, against) => {
  const ratios = values.map((ms, run) => ms / against[run]);
  return `${quantile(ratios, 0.5).toFixed(2)}× (${quantile(ratios, 0.25).toFixed(2)}–` +
    `${quantile(ratios, 0.75).toFixed(2)})`;
};
console.log(`sessiya.html: ${size} bytes (${(size / 1048576).toFixed(3)} MiB; target ≤ 1.10 MiB)`);
console.log(`${runs} runs; load average over 1, 5, 15 minutes: ${load}; medians (middle half)`);
for (const [v, viewport] of viewports.entries()) {
  const { game, scene, plain, moves: played, bare } = times[v];
  console.log(`${viewport.name}, ${scenes[v].oneColumn ? "one column" : "exact window"}:`);
  console.log(`  first scene painted: game ${summary(game, 1)}, the scene without script ` +
              `${summary(scene, 1)}, one line ${summary(plain, 1)}`);
  console.log(`    game / scene without script: ${ratio(game, scene)} (target ≤ 1.3×); ` +
              `game / one line: ${ratio(game, plain)}`);
  console.log(`  one move, click to the next scene painted: game ${summary(played, 2)}, ` +
              `the same change without script ${summary(bare, 2)}`);
  console.log(`    game / without script: ${ratio(played, bare)} (target ≤ 1.5×)`);
}
