// Times sessiya.html in headless Chromium, from disk: navigation to the opening scene
// painted, against a static page of the same size, and one move, click to the next scene
// painted; in each viewport given, so in both of the page's layouts. The variants take
// turns run by run, so a change in the machine's load falls on all of them alike. Prints
// medians with their spread (the middle half of the runs, first to third quartile):
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

// A page with one line of text, padded with a comment to the game's size.
const staticPath = join(tmpdir(), "sessiya-static-page.html");
const head = '<!DOCTYPE html><html lang="ru"><meta charset="utf-8">' +
  '<meta name="viewport" content="width=device-width, initial-scale=1"><title>Сессия</title>' +
  "<p>Сессия</p><!--";
writeFileSync(staticPath, head + "x".repeat(size - Buffer.byteLength(head) - 3) + "-->");

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

// Navigation start to the first contentful paint; the game's window stays hidden until
// its first scene is drawn, so there that paint is the scene. Both pages load in turn in
// the same tab, so the browser's own start-up work is left out of both.
async function firstPaint(tab, path, ready) {
  await tab.goto(pathToFileURL(path).href);
  await tab.waitForFunction(ready);
  const paint = await tab.waitForFunction(() =>
    performance.getEntriesByName("first-contentful-paint")[0]?.startTime);
  return paint.jsonValue();
}
const gameReady = () => document.documentElement.dataset.ready === "true";

const times = viewports.map(() => ({ game: [], plain: [], moves: [], oneColumn: null }));
for (let run = 0; run < runs; ++run) {
  for (const [v, tab] of tabs.entries()) {
    times[v].game.push(await firstPaint(tab, pagePath, gameReady));
    times[v].plain.push(await firstPaint(tab, staticPath, () => document.readyState === "complete"));
  }
}

// A move timed from the click inside a frame to the end of that frame's rendering: the
// message posted there runs once style, layout and paint are done.
async function moves(tab, count) {
  return tab.evaluate(async (count) => {
    const $ = (id) => document.getElementById(id);
    const times = [];
    const nextFrame = () => new Promise((resolve) => requestAnimationFrame(resolve));
    for (let i = 0; i < count; ++i) {
      $("m_new").click();
      await nextFrame();  // the new attempt is drawn before the move starts
      await nextFrame();
      const option = [1, 3, 4][i % 3];  // option 2 opens the dialog
      times.push(await new Promise((resolve) => requestAnimationFrame(() => {
        const start = performance.now();
        $(`Command${option}`).click();
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve(performance.now() - start);
        channel.port2.postMessage(0);
      })));
    }
    return times;
  }, count);
}
for (const [v, tab] of tabs.entries()) {
  await tab.goto(pathToFileURL(pagePath).href);
  await tab.waitForFunction(gameReady);
  times[v].oneColumn = await tab.evaluate(() => document.documentElement.classList.contains("reflow"));
}
for (let run = 0; run < runs; ++run) {
  for (const [v, tab] of tabs.entries()) times[v].moves.push(...await moves(tab, 5));
}
await browser.close();

const load = loadavg().map((average) => average.toFixed(2)).join(", ");
console.log(`sessiya.html: ${size} bytes (${(size / 1048576).toFixed(3)} MiB; target ≤ 1.10 MiB)`);
console.log(`${runs} runs; load average over 1, 5, 15 minutes: ${load}; medians (middle half)`);
for (const [v, viewport] of viewports.entries()) {
  const { game, plain, moves, oneColumn } = times[v];
  const ratios = game.map((ms, run) => ms / plain[run]);
  console.log(`${viewport.name}, ${oneColumn ? "one column" : "exact window"}:`);
  console.log(`  first scene painted, game / static page: ${summary(game, 1)} / ${summary(plain, 1)};` +
              ` ratio ${quantile(ratios, 0.5).toFixed(2)}× (${quantile(ratios, 0.25).toFixed(2)}–` +
              `${quantile(ratios, 0.75).toFixed(2)}; target ≤ 1.3×)`);
  console.log(`  one move, click to the next scene painted: ${summary(moves, 2)} (target < 1.5 ms)`);
}
