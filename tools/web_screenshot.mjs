// Screenshots of sessiya.html in headless Chromium, after an optional sequence of presses:
//   node web_screenshot.mjs SESSIYA.html OUT.png [PRESS…]   (PRESS is the option number)
// The whole page is taken, so an open dialog shows over the window.
import { createRequire } from "node:module";
import { pathToFileURL } from "node:url";

const require = createRequire(new URL("../tests/web/package.json", import.meta.url));
const { chromium } = require("playwright-core");

const [pagePath, out, ...presses] = process.argv.slice(2);
const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
const page = await browser.newPage({ viewport: { width: 760, height: 520 }, deviceScaleFactor: 1 });
await page.goto(pathToFileURL(pagePath).href);
await page.waitForFunction(() => document.documentElement.dataset.ready === "true");
for (const option of presses) await page.click(`#Command${option}`);
await page.mouse.move(0, 0);
await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 100))));
await page.screenshot({ path: out });
await browser.close();
