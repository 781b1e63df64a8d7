// Times sessiya.html in headless Chromium, from disk: navigation to the opening scene
// painted, against a static page of the same size, and one move, click to the next scene
// painted. Prints medians:
//   node page_benchmark.mjs SESSIYA.html RUNS
import { writeFileSync, statSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const require = createRequire(new URL("../../tests/web/package.json", import.meta.url));
const { chromium } = require("playwright-core");

const [pagePath, runsArgument = "20"] = process.argv.slice(2);
const runs = Number(runsArgument);
const size = statSync(pagePath).size;

// A page with one line of text, padded with a comment to the game's size.
const staticPath = join(tmpdir(), "sessiya-static-page.html");
const head = '<!DOCTYPE html><html lang="ru"><meta charset="utf-8"><title>Сессия</title>' +
  "<p>Сессия</p><!--";
writeFileSync(staticPath, head + "x".repeat(size - Buffer.byteLength(head) - 3) + "-->");

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });

// Navigation start to the first contentful paint; the game's window stays hidden until
// its first scene is drawn, so there that paint is the scene. Both pages load in turn in
// the same tab, so the browser's own start-up work is left out of both.
const tab = await browser.newPage({ viewport: { width: 1000, height: 700 } });
async function firstPaint(path, ready) {
  await tab.goto(pathToFileURL(path).href);
  await tab.waitForFunction(ready);
  const paint = await tab.waitForFunction(() =>
    performance.getEntriesByName("first-contentful-paint")[0]?.startTime);
  return paint.jsonValue();
}

const game = [];
const plain = [];
for (let run = 0; run < runs; ++run) {
  game.push(await firstPaint(pagePath, () => document.documentElement.dataset.ready === "true"));
  plain.push(await firstPaint(staticPath, () => document.readyState === "complete"));
}

// A move timed from the click inside a frame to the end of that frame's rendering: the
// message posted there runs once style, layout and paint are done.
const page = await browser.newPage({ viewport: { width: 1000, height: 700 } });
await page.goto(pathToFileURL(pagePath).href);
await page.waitForFunction(() => document.documentElement.dataset.ready === "true");
const moves = await page.evaluate(async (count) => {
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
}, runs * 5);
await browser.close();

const [gameMs, plainMs, moveMs] = [median(game), median(plain), median(moves)];
console.log(`sessiya.html: ${size} bytes (${(size / 1048576).toFixed(2)} MiB)`);
console.log(`first scene painted, game / static page: ${gameMs.toFixed(1)} / ${plainMs.toFixed(1)} ms` +
            ` (${(gameMs / plainMs).toFixed(2)}×; target ≤ 1.5×)`);
console.log(`one move, click to the next scene painted: ${moveMs.toFixed(2)} ms (target < 2 ms)`);
