// Screenshots of sessiya.html in headless Chromium, after an optional sequence of steps:
//   node web_screenshot.mjs SESSIYA.html OUT.png [SCREEN] [STEP…]
// SCREEN is the screen it is seen on, as WIDTHxHEIGHT or WIDTHxHEIGHT@SCALE (CSS pixels;
// 760x520 by default); a STEP is an option's number, or "endings" for the list of endings.
// The viewport is taken: an open dialog shows where it stands, the window scrolled to it.
import { createRequire } from "node:module";
import { pathToFileURL } from "node:url";

const require = createRequire(new URL("../tests/web/package.json", import.meta.url));
const { chromium } = require("playwright-core");

const [pagePath, out, ...rest] = process.argv.slice(2);
const screen = /^(\d+)x(\d+)(?:@(\d+))?$/.exec(rest[0] ?? "");
const steps = screen ? rest.slice(1) : rest;
const [width, height, scale] = screen ? [+screen[1], +screen[2], +(screen[3] ?? 1)] : [760, 520, 1];
const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
const page = await browser.newPage({ viewport: { width, height }, deviceScaleFactor: scale });
await page.goto(pathToFileURL(pagePath).href);
await page.waitForFunction(() => document.documentElement.dataset.ready === "true");
for (const step of steps) {
  if (step === "endings") {
    await page.click("#m_endings");
    await page.click("#m_found_endings");
  } else {
    await page.click(`#Command${step}`);
  }
}
await page.mouse.move(0, 0);
await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 100))));
await page.screenshot({ path: out });
await browser.close();
