// Opens sessiya.html in the system's Chromium, headless, as a player would from disk.
import { readFileSync } from "node:fs";
import { pathToFileURL } from "node:url";
import { chromium } from "playwright-core";

export const pagePath = process.env.SESSIYA_PAGE;
export const sourceDir = process.env.SESSIYA_SOURCE;

export function readJson(path) {
  return JSON.parse(readFileSync(path, "utf8"));
}

export function launch() {
  return chromium.launch({
    executablePath: process.env.SESSIYA_CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox"],
  });
}

// browser: a browser, or a context of its own (a profile's settings) that takes no options.
export async function openGame(browser, options = { viewport: { width: 1000, height: 700 } }) {
  const page = await browser.newPage(browser.pages ? undefined : options);
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  page.on("console", (message) => {
    if (/Content.Security.Policy/i.test(message.text())) errors.push(message.text());
  });
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForFunction(() => document.documentElement.dataset.ready === "true");
  page.errors = errors;
  return page;
}
