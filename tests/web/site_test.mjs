// The site folder on a static host (a small server on 127.0.0.1): installable, offline after
// the first visit, replaced whole by the next build, and no other scene's picture in the
// box while the scene's own is on its way.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { createHash } from "node:crypto";
import { cpSync, mkdtempSync, readFileSync, readdirSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, relative } from "node:path";
import { after, before, test } from "node:test";
import { chromium } from "playwright-core";
import { readJson, sourceDir } from "./browser.mjs";
import { staticServer } from "./static_server.mjs";

const siteDir = process.env.SESSIYA_SITE;
const { screens, walk } = readJson(process.env.SESSIYA_STATES);
const ready = () => document.documentElement.dataset.ready === "true";

// The moves of the shortest path to an ending.
function pathToEnding() {
  const queue = [[walk, []]];
  for (;;) {
    const [node, path] = queue.shift();
    if (path.length > 0 && !screens[node.screen].buttonVisible.includes(true)) return [path, node.screen];
    for (const [move, next] of node.moves) if (move <= 4) queue.push([next, [...path, move]]);
  }
}

// A profile of its own: Chromium installs no app from an incognito one.
async function profile() {
  const context = await chromium.launchPersistentContext(mkdtempSync(join(tmpdir(), "sessiya-site-")), {
    executablePath: process.env.SESSIYA_CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox"],
    viewport: { width: 1000, height: 700 },
  });
  const page = context.pages()[0] ?? await context.newPage();
  page.errors = [];
  page.on("pageerror", (error) => page.errors.push(error.message));
  page.on("console", (message) => {
    if (/Content.Security.Policy|Refused/i.test(message.text())) page.errors.push(message.text());
  });
  return { context, page };
}

// Opened and reloaded once its worker is active: from then on the worker serves it.
async function visitUntilKept(page, url) {
  await page.goto(url);
  await page.waitForFunction(ready);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  await page.waitForFunction(ready);
  assert.ok(await page.evaluate(() => navigator.serviceWorker.controller !== null), "no worker in control");
}

// The scene's picture in the box, once it has arrived: its reference, or why not.
const pictureShown = (page) => page.evaluate(async () => {
  const img = document.querySelector("#Picture1 img");
  if (img === null || img.hidden) return "no picture";
  await img.decode().catch(() => {});
  if (img.naturalWidth === 0) return `${img.getAttribute("src")} did not load`;
  return Object.keys(window.sessiya.pictures).find((key) => window.sessiya.pictures[key].src === img.getAttribute("src"));
});

const found = (page) => page.locator("#m_endings").textContent();

let host;
before(async () => { host = await staticServer({ root: siteDir }); });
after(() => host.close());

test("the site installs as the app «Сессия», under a closed policy", async () => {
  const { context, page } = await profile();
  try {
    await page.goto(host.url);
    await page.waitForFunction(ready);
    const cdp = await context.newCDPSession(page);
    assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
    const { errors, data } = await cdp.send("Page.getAppManifest");
    assert.deepEqual(errors, []);
    const manifest = JSON.parse(data);
    assert.equal(manifest.name, "Сессия");
    assert.equal(manifest.display, "standalone");
    const icons = manifest.icons.map(({ src, sizes, purpose = "any" }) => {
      const png = readFileSync(join(siteDir, src));
      assert.equal(png.readUInt32BE(16), Number(sizes.split("x")[0]), src);
      return `${sizes} ${purpose}`;
    });
    for (const wanted of ["192x192 any", "512x512 any", "512x512 maskable"]) assert.ok(icons.includes(wanted), wanted);
    const [policy, description] = await page.evaluate(() => [
      document.querySelector('meta[http-equiv="Content-Security-Policy"]').content,
      document.querySelector('meta[name="description"]').content]);
    assert.match(policy, /^default-src 'none';/);
    assert.deepEqual(policy.match(/'unsafe-[\w-]+'|'wasm-unsafe-eval'/g), ["'wasm-unsafe-eval'"]);
    assert.doesNotMatch(policy, /https?:|\*/);
    assert.match(description, /Сессия/);
    assert.deepEqual(page.errors, []);
  } finally {
    await context.close();
  }
});

test("after the first visit the site plays offline to an ending, pictures and endings list too", async () => {
  const { context, page } = await profile();
  try {
    await visitUntilKept(page, host.url);
    // Both: the browser's offline mode leaves a service worker's own fetches alone.
    await context.setOffline(true);
    host.down = true;
    await page.reload();
    await page.waitForFunction(ready);
    assert.equal(await pictureShown(page), "");
    const [path, ending] = pathToEnding();
    for (const move of path) await page.click(`#Command${move}`);
    assert.equal(await pictureShown(page), screens[ending].picture);
    assert.equal(await found(page), "Концовки: 1 из 14");
    await page.click("#m_endings");
    await page.click("#m_found_endings");
    const thumbnails = await page.evaluate(async () => Promise.all(
      [...document.querySelectorAll("#endings_list img")].map((img) => img.decode().then(() => img.naturalWidth, () => 0))));
    assert.ok(thumbnails.length > 0 && thumbnails.every((width) => width > 0), `thumbnails ${thumbnails}`);
    assert.deepEqual(page.errors, []);
  } finally {
    host.down = false;
    await context.close();
  }
});

// Build B: build A with a changed stamp, its worker written anew as the build writes it.
function nextBuild() {
  const next = mkdtempSync(join(tmpdir(), "sessiya-site-b-"));
  cpSync(siteDir, next, { recursive: true });
  writeFileSync(join(next, "index.html"), `${readFileSync(join(next, "index.html"), "utf8")}<!-- build B -->\n`);
  const build = execFileSync("python3", [join(sourceDir, "web/site_worker.py"),
    join(sourceDir, "web/service_worker.js"), next], { encoding: "utf8" }).trim();
  return { next, build };
}
const files = (dir) => readdirSync(dir, { recursive: true, withFileTypes: true })
  .filter((entry) => entry.isFile() && entry.name !== "sw.js")
  .map((entry) => relative(dir, join(entry.parentPath ?? entry.path, entry.name))).sort();

// The page reloads itself into the new build once its worker has kept all of it.
async function untilNewBuild(page) {
  for (const deadline = Date.now() + 30_000; Date.now() < deadline;) {
    const taken = await page.evaluate(() => document.lastChild.data === " build B " &&
                                            document.documentElement.dataset.ready === "true").catch(() => false);
    if (taken) return;
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
  throw new Error("the new build never took over");
}

test("the next build replaces the old one whole; the endings and the attempt stay", async () => {
  const { next, build } = nextBuild();
  const { context, page } = await profile();
  try {
    await visitUntilKept(page, host.url);
    const [path] = pathToEnding();
    for (const move of path) await page.click(`#Command${move}`);
    await page.click("#m_file");
    await page.click("#m_new");
    await page.click("#Command1");
    const scene = await page.locator("#Label1").textContent();

    host.root = next;
    await page.reload();  // the old build, from its worker, which finds the new one
    await untilNewBuild(page);
    assert.equal(await found(page), "Концовки: 1 из 14");
    assert.equal(await page.locator("#Label1").textContent(), scene);
    const kept = await page.evaluate(async () => {
      const names = await caches.keys();
      const cache = await caches.open(names[0]);
      const hex = (buffer) => [...new Uint8Array(buffer)].map((byte) => byte.toString(16).padStart(2, "0")).join("");
      const entries = await Promise.all((await cache.keys()).map(async (request) => [
        new URL(request.url).pathname.slice(1),
        hex(await crypto.subtle.digest("SHA-256", await (await cache.match(request)).arrayBuffer()))]));
      return { names, entries };
    });
    assert.deepEqual(kept.names, [`sessiya-${build}`]);
    const digest = (bytes) => createHash("sha256").update(bytes).digest("hex");
    assert.deepEqual(kept.entries.map(([name]) => name).sort(), files(next));
    for (const [name, cached] of kept.entries) {
      assert.equal(cached, digest(readFileSync(join(next, name))), `${name} is not the new build's`);
    }
    assert.deepEqual(page.errors, []);
  } finally {
    host.root = siteDir;
    await context.close();
  }
});

test("the one-file page on a host: a press before its pictures are read shows none of another scene's", async () => {
  const marker = Buffer.from('<script type="application/json" id="pictures">');
  const slow = await staticServer({
    root: dirname(process.env.SESSIYA_PAGE),
    gzip: false,
    stall: (path, body) => (path === "/sessiya.html" ? [body.indexOf(marker), 2000] : null),
  });
  const browser = await chromium.launch({ executablePath: process.env.SESSIYA_CHROMIUM ?? "/usr/bin/chromium",
                                          args: ["--no-sandbox"] });
  try {
    const page = await browser.newPage();
    await page.goto(`${slow.url}sessiya.html`, { waitUntil: "commit" });
    await page.waitForFunction(ready);
    const [inBox, loading] = await page.evaluate(() => {
      document.getElementById("Command3").click();
      return [document.querySelector("#Picture1 img")?.getAttribute("src") ?? null, document.readyState];
    });
    assert.equal(loading, "loading", "the pictures were read before the press");
    assert.equal(inBox, null, "before its picture was read the box showed another");
    await page.waitForFunction(() => document.readyState === "complete");
    assert.equal(await pictureShown(page), screens[walk.moves.find(([move]) => move === 3)[1].screen].picture);
  } finally {
    await browser.close();
    await slow.close();
  }
});

test("a press before the pictures arrive shows none of another scene's", async () => {
  const slow = await staticServer({
    root: siteDir,
    delay: (path) => (path.startsWith("/pictures/") && !path.startsWith("/pictures/start.") ? 1500 : 0),
  });
  const browser = await chromium.launch({ executablePath: process.env.SESSIYA_CHROMIUM ?? "/usr/bin/chromium",
                                          args: ["--no-sandbox"] });
  try {
    const page = await browser.newPage();
    await page.goto(slow.url);
    await page.waitForFunction(ready);
    const next = screens[walk.moves.find(([move]) => move === 3)[1].screen];
    const inBox = await page.evaluate(() => {
      document.getElementById("Command3").click();
      const img = document.querySelector("#Picture1 img");
      return img === null ? null : { src: img.getAttribute("src"), complete: img.complete && img.naturalWidth > 0 };
    });
    const expected = await page.evaluate((reference) => window.sessiya.pictures[reference].src, next.picture);
    assert.ok(inBox === null || (inBox.src === expected && !inBox.complete),
              `before its picture arrived the box showed ${JSON.stringify(inBox)}`);
    assert.equal(await pictureShown(page), next.picture);
  } finally {
    await browser.close();
    await slow.close();
  }
});

// What a player sees and a screen reader reads of the scene: each label's lines and text,
// the labels and buttons shown, the buttons' names, the picture box's name and picture.
const sceneShown = (page) => page.evaluate(() => {
  const $ = (id) => document.getElementById(id);
  return {
    labels: [1, 2, 3, 4, 5, 6].map((n) => ({
      lines: [...$(`Label${n}`).querySelectorAll(":scope > div")].map((row) => row.textContent),
      text: $(`Label${n}`).querySelector(".for-screen-readers")?.textContent ?? null,
      reflowed: $(`Label${n}`).querySelector(".reflowed")?.textContent ?? null,
      shown: !$(`Label${n}`).hidden })),
    buttons: [1, 2, 3, 4].map((n) => [$(`Command${n}`).hidden, $(`Command${n}`).getAttribute("aria-label")]),
    picture: [$("Picture1").getAttribute("aria-label"), $("Picture1").querySelector("img")?.getAttribute("src")],
    window: $("Form1").checkVisibility(),
  };
});

test("the site's page shows the opening scene before any script runs, as the game draws it", async () => {
  const browser = await chromium.launch({ executablePath: process.env.SESSIYA_CHROMIUM ?? "/usr/bin/chromium",
                                          args: ["--no-sandbox"] });
  try {
    const plain = await browser.newPage({ javaScriptEnabled: false });
    await plain.goto(host.url);
    const written = await sceneShown(plain);
    const game = await browser.newPage();
    await game.goto(host.url);
    await game.waitForFunction(ready);
    assert.deepEqual(written, await sceneShown(game));
    // And as the engine holds it, not as an earlier build did.
    const opening = screens[walk.screen];
    const squeezed = (text) => text.replace(/\s+/g, "");
    assert.deepEqual(written.labels.map(({ lines, text, reflowed, shown }) =>
      [squeezed(lines.join("")), text, squeezed(reflowed), shown]),
    opening.captions.map((caption, i) =>
      [squeezed(caption), caption, squeezed(caption), i < 2 || opening.labelVisible[i - 2]]));
    assert.ok(written.window, "the window is hidden");
  } finally {
    await browser.close();
  }
});

test("a press on the written scene before the game has started is shown waiting and made once", async () => {
  const marker = Buffer.from('<div id="spoken"');
  const slow = await staticServer({
    root: siteDir,
    gzip: false,
    stall: (path, body) => (path === "/" ? [body.indexOf(marker), 1500] : null),
  });
  const browser = await chromium.launch({ executablePath: process.env.SESSIYA_CHROMIUM ?? "/usr/bin/chromium",
                                          args: ["--no-sandbox"] });
  try {
    const page = await browser.newPage({ viewport: { width: 390, height: 844 } });
    await page.goto(slow.url, { waitUntil: "commit" });
    await page.locator("#Command3").click();
    await page.locator("#Command3").click();
    const waiting = await page.evaluate(() => [document.getElementById("spoken") === null,
                                               getComputedStyle(document.getElementById("Command3")).cursor]);
    assert.deepEqual(waiting, [true, "progress"], "the press was not taken before the game started");
    await page.waitForFunction(ready);
    const next = screens[walk.moves.find(([move]) => move === 3)[1].screen];
    assert.equal(await page.locator("#Label2 .for-screen-readers").textContent(), next.captions[1]);
    assert.match(await page.locator("#spoken").textContent(), new RegExp(next.captions[1].slice(0, 40)));
  } finally {
    await browser.close();
    await slow.close();
  }
});
