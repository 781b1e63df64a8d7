// Times a player's first visit over a slow phone network: the page served over HTTP from
// 127.0.0.1 as a static host serves it (tests/web/static_server.mjs), opened in Chromium as
// a phone with an empty cache, 150 ms round trip, 1.6 Mbit/s down, 750 kbit/s up, the CPU
// slowed 4×. For each page given: navigation to the opening scene painted, and to the game
// taking presses (its ready mark), beside the same scene as a page without script served the
// same way, for the browser's own cost. The pages take turns run by run. Medians with the
// spread of the runs (lowest–highest):
//   node first_visit_benchmark.mjs RUNS NAME=SITE_DIR_OR_HTML_FILE ...
import { cpSync, mkdtempSync, statSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { basename, dirname, join } from "node:path";
import { staticServer } from "../../tests/web/static_server.mjs";

const require = createRequire(new URL("../../tests/web/package.json", import.meta.url));
const { chromium } = require("playwright-core");

const [runsArgument = "5", ...pageArguments] = process.argv.slice(2);
const runs = Number(runsArgument);
const PHONE = { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const NETWORK = { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 750e3 / 8 };

// Each page as a folder to serve at /: a site as it is, a one-file page as its index.html.
function served(path) {
  const dir = mkdtempSync(join(tmpdir(), "sessiya-first-visit-"));
  if (statSync(path).isDirectory()) cpSync(path, dir, { recursive: true });
  else cpSync(path, join(dir, "index.html"));
  return dir;
}
const pages = pageArguments.map((argument) => {
  const [name, path] = argument.split("=");
  return { name, dir: served(path) };
});

const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
const host = await staticServer({ root: pages[0].dir, gzip: process.env.SESSIYA_PLAIN_HOST === undefined });

// The scene the game draws first, as a page without script beside the game's files.
for (const page of pages) {
  host.root = page.dir;
  const tab = await browser.newPage(PHONE);
  await tab.goto(host.url);
  await tab.waitForFunction(() => document.documentElement.dataset.ready === "true");
  writeFileSync(join(page.dir, "scene.html"), await tab.evaluate(() => {
    const copy = document.documentElement.cloneNode(true);
    copy.querySelectorAll('script:not([type="application/json"]), meta[http-equiv], link[rel="manifest"]')
      .forEach((element) => element.remove());
    return `<!DOCTYPE html>${copy.outerHTML}`;
  }));
  await tab.close();
}

// One first visit: a fresh profile, throttled before the navigation starts.
async function firstVisit(path, game) {
  const context = await browser.newContext(PHONE);
  const tab = await context.newPage();
  // The moment the game marks itself ready to take presses.
  await tab.addInitScript(() => {
    new MutationObserver((_, observer) => {
      if (document.documentElement?.dataset.ready !== "true") return;
      window.readyAt = performance.now();
      observer.disconnect();
    }).observe(document, { attributes: true, subtree: true, attributeFilter: ["data-ready"] });
  });
  const cdp = await context.newCDPSession(tab);
  await cdp.send("Network.enable");
  await cdp.send("Network.emulateNetworkConditions", NETWORK);
  await cdp.send("Emulation.setCPUThrottlingRate", { rate: 4 });
  await tab.goto(`${host.url}${path}`, { waitUntil: "commit" });
  const times = await (await tab.waitForFunction((game) => {
    const paint = performance.getEntriesByName("first-contentful-paint")[0]?.startTime;
    const ready = game ? window.readyAt : document.readyState === "complete" && performance.now();
    // The opening picture as a file of its own: when it has arrived.
    const img = document.querySelector("#Picture1 img");
    const file = performance.getEntriesByName(img?.src ?? "")[0]?.responseEnd;
    const picture = img?.complete && (img.src.startsWith("data:") ? paint : file);
    return paint !== undefined && ready && picture && { paint, ready, picture };
  }, game, { timeout: 60_000, polling: 50 })).jsonValue();
  await context.close();
  return times;
}

const results = pages.map(() => ({ game: { paint: [], ready: [], picture: [] },
                                   scene: { paint: [], ready: [], picture: [] } }));
for (let run = 0; run < runs; ++run) {
  for (const [p, page] of pages.entries()) {
    host.root = page.dir;
    for (const [variant, path, game] of [["game", "", true], ["scene", "scene.html", false]]) {
      const { paint, ready, picture } = await firstVisit(path, game);
      results[p][variant].paint.push(paint);
      results[p][variant].ready.push(ready);
      results[p][variant].picture.push(Math.max(paint, picture));
    }
  }
}
await browser.close();
await host.close();

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = (sorted.length - 1) / 2;
  return (sorted[Math.floor(middle)] + sorted[Math.ceil(middle)]) / 2;
};
const summary = (values) => `${(median(values) / 1000).toFixed(2)} s ` +
  `(${(Math.min(...values) / 1000).toFixed(2)}–${(Math.max(...values) / 1000).toFixed(2)})`;
console.log(`First visit over a slow phone network (150 ms, 1.6 Mbit/s down, CPU 4×), ` +
            `${process.env.SESSIYA_PLAIN_HOST === undefined ? "text gzipped by the host" : "nothing compressed"}; ` +
            `${runs} runs, medians (lowest–highest):`);
for (const [p, page] of pages.entries()) {
  const { game, scene } = results[p];
  console.log(`  ${page.name}: opening scene painted ${summary(game.paint)} (target ≤ 1.2 s), ` +
              `its picture in ${summary(game.picture)}, taking presses ${summary(game.ready)} ` +
              `(target ≤ 2.5 s)`);
  console.log(`    the same scene without script: painted ${summary(scene.paint)}, ` +
              `its picture in ${summary(scene.picture)}, loaded ${summary(scene.ready)}`);
}
