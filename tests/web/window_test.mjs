// The page as the desktop window: layout, dialog, menu, farewell, pictures, keys and links.
import assert from "node:assert/strict";
import { mkdirSync, mkdtempSync, readFileSync, statSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { after, afterEach, before, beforeEach, test } from "node:test";
import { chromium } from "playwright-core";
import { launch, openGame, pagePath, readJson, sourceDir } from "./browser.mjs";

const { screens, walk } = readJson(process.env.SESSIYA_STATES);
const squeezed = (text) => text.replace(/\s+/g, "");
const DIALOG_QUESTIONS = ["Итак ответ B?", "Вы уверены?"];

// The first path (option presses only) to a screen the predicate picks, shortest first.
function pathTo(predicate) {
  const queue = [[walk, []]];
  while (queue.length > 0) {
    const [node, path] = queue.shift();
    if (path.length > 0 && predicate(screens[node.screen], node)) return path;
    for (const [move, next] of node.moves) if (move <= 4) queue.push([next, [...path, move]]);
  }
  throw new Error("no such screen on any path");
}
const afterMove = (option) => screens[walk.moves.find(([move]) => move === option)[1].screen];

// Each control's rectangle in a stored Qt layout: {name: [x, y, width, height]}.
function storedLayout(file) {
  const ui = readFileSync(`${sourceDir}/${file}`, "utf8");
  const rects = {};
  const control = /<widget class="[^"]+" name="(\w+)">\s*<property name="geometry">\s*<rect>\s*<x>(\d+)<\/x>\s*<y>(\d+)<\/y>\s*<width>(\d+)<\/width>\s*<height>(\d+)<\/height>/g;
  for (const [, name, ...numbers] of ui.matchAll(control)) rects[name] = numbers.map(Number);
  return rects;
}

// axe-core on every state a test leaves the page in: no serious or critical finding, but
// the one the window's look prescribes, its red links on the button face.
const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const KNOWN = ["color-contrast #Label7", "color-contrast #Label9"];
const audited = { exact: { states: 0, found: 0 }, "one column": { states: 0, found: 0 } };
async function audit(tab) {
  if (!(await tab.evaluate(() => "axe" in window))) await tab.evaluate(axeSource);
  const [oneColumn, found] = await tab.evaluate(async () => [
    document.documentElement.classList.contains("reflow"),
    (await window.axe.run(document, { resultTypes: ["violations"] })).violations
      .filter((finding) => ["serious", "critical"].includes(finding.impact))
      .flatMap((finding) => finding.nodes.map((node) => `${finding.id} ${node.target.join(" ")}`))]);
  const layout = oneColumn ? "one column" : "exact";
  ++audited[layout].states;
  audited[layout].found += found.length;
  assert.deepEqual(found.filter((what) => oneColumn || !KNOWN.includes(what)), [], layout);
}

let browser;
let page;
before(async () => { browser = await launch(); });
after(async () => {
  console.log(`axe-core, serious or critical: ${JSON.stringify(audited)}`);
  await browser.close();
});
beforeEach(async () => {
  if (page) await page.close();
  page = await openGame(browser);
});
afterEach(async () => {
  if (!page.isClosed()) await audit(page);
});

const shown = (id) => page.locator(`#${id}`).isVisible();
const text = (id) => page.evaluate((i) => document.getElementById(i).textContent, id);
const epigraph = async () => squeezed(await page.evaluate(() =>
  [...document.querySelectorAll("#Label1 div")].map((line) => line.textContent).join("")));
const focused = () => page.evaluate(() => document.activeElement.id);
const spoken = () => text("spoken");
const clickAll = (ids) => page.evaluate((all) => all.forEach((i) => document.getElementById(i).click()),
                                         ids);
// A key as a keyboard of any layout sends it, Cyrillic letters too.
async function pressKey(key, { code = "", alt = false } = {}) {
  const cdp = await page.context().newCDPSession(page);
  const event = { key, code, modifiers: alt ? 1 : 0, text: alt || key.length > 1 ? "" : key };
  if (key === "F10") event.windowsVirtualKeyCode = 121;
  await cdp.send("Input.dispatchKeyEvent", { type: "keyDown", ...event });
  await cdp.send("Input.dispatchKeyEvent", { type: "keyUp", ...event });
  await cdp.detach();
}
// The dialog first stands over the window, as on the desktop: moved below it to reach it.
async function moveDialogDown() {
  const box = await page.locator("#Form2 .titlebar").boundingBox();
  await page.mouse.move(box.x + 100, box.y + 10);
  await page.mouse.down();
  await page.mouse.move(box.x + 100, box.y + 600, { steps: 3 });
  await page.mouse.up();
}
const play = (path) => clickAll(path.map((option) => `Command${option}`));

test("sessiya.html is one file of at most 1.5 MiB", () => {
  const size = statSync(pagePath).size;
  assert.ok(size <= 1.5 * 1024 * 1024, `${size} bytes`);
  const html = readFileSync(pagePath, "utf8");
  assert.doesNotMatch(html, /\b(src|href)="(?!data:|mailto:|https?:)/);
  const policy = html.match(/<meta http-equiv="Content-Security-Policy" content="([^"]+)">/)[1];
  assert.match(policy, /^default-src 'none'; script-src ('sha256-[\w+/=]+' ){3}'wasm-unsafe-eval'; style-src 'sha256-[\w+/=]+';/);
});

test("every control stands where the desktop layouts put it, within 1 px", async () => {
  for (const [file, parents] of [
    ["main_window/form1.ui", { Label7: "Frame1", Label8: "Frame1", Label9: "Frame1" }],
    ["confirm_dialog/form2.ui", {}],
  ]) {
    const dialog = file.includes("form2");
    if (dialog) await page.click("#Command2");
    const rects = storedLayout(file);
    assert.ok(Object.keys(rects).length >= (dialog ? 4 : 15), file);
    for (const [name, expected] of Object.entries(rects)) {
      if (name === "Form2") continue;  // the dialog's own size: its client area, below
      const id = dialog ? `Form2_${name}` : name;
      const parent = parents[name] ?? (dialog ? "Form2 .client" : "centralwidget");
      const actual = await page.evaluate(([child, box]) => {
        const a = document.getElementById(child).getBoundingClientRect();
        const b = document.querySelector(`#${box}`).getBoundingClientRect();
        return [a.left - b.left, a.top - b.top, a.width, a.height];
      }, [id, parent]);
      actual.forEach((value, i) => assert.ok(Math.abs(value - expected[i]) <= 1,
                                             `${file} ${name}: ${actual} vs ${expected}`));
    }
  }
  const central = await page.locator("#centralwidget").boundingBox();
  assert.deepEqual([central.width, central.height], [681, 401]);
  const client = await page.locator("#Form2 .client").boundingBox();
  assert.deepEqual([client.width, client.height], [600, 213]);
  assert.deepEqual(page.errors, []);
});

test("fonts, colours and the buttons' mixed captions", async () => {
  const look = await page.evaluate(() => ["Label2", "Label7", "Label9", "Command1"].map((id) => {
    const style = getComputedStyle(document.getElementById(id));
    return [style.fontFamily, style.fontSize, style.fontWeight, style.color];
  }));
  assert.match(look[0][0], /^"Sessiya Sans"/);
  assert.deepEqual(look.map((l) => l.slice(1)), [
    ["11px", "400", "rgb(0, 0, 0)"], ["13px", "700", "rgb(255, 0, 0)"],
    ["16px", "700", "rgb(255, 0, 0)"], ["11px", "400", "rgb(0, 0, 0)"]]);
  assert.equal(await page.evaluate(() => document.fonts.check('11px "Sessiya Sans"')), true);
  const captions = await page.evaluate(() => [1, 2, 3, 4].map((n) =>
    document.getElementById(`Command${n}`).textContent.codePointAt(0)));
  assert.deepEqual(captions, [0x41, 0x42, 0x411, 0x413]);  // Latin A, B; Cyrillic Б, Г
  assert.equal(await text("Label8"), "Ваши мысли направляйте:");
});

test("the tall picture covers the right-hand option texts; the buttons stay clear", async () => {
  await play(pathTo((screen) => screen.pictureHeight === 5235 && screen.buttonVisible[0]));
  assert.equal((await page.locator("#Picture1").boundingBox()).height, 349);
  const over = await page.evaluate(() => {
    for (const id of ["Label5", "Command3"]) document.getElementById(id).hidden = false;
    const central = document.getElementById("centralwidget").getBoundingClientRect();
    const at = (x, y) => document.elementFromPoint(central.left + x, central.top + y).closest("[id]").id;
    return [at(500, 280), at(400, 280), at(340, 280)];
  });
  assert.deepEqual(over, ["Picture1", "Label5", "Command3"]);
});

test("each picture is its 2× copy, drawn at half its pixel size", async () => {
  // Every picture in assets/ has a 2× copy beside it: the scenes', the opening's, the dialog's.
  const scales = await page.evaluate(() => Promise.all(
    [...Object.entries(window.sessiya.pictures), ["dialog", window.sessiya.dialog]].map(
      async ([name, entry]) => {
        const image = new Image();
        image.src = entry.src;
        await image.decode();
        return [name, image.naturalWidth / entry.width, image.naturalHeight / entry.height];
      })));
  assert.equal(scales.length, 21);
  for (const [name, across, down] of scales) assert.deepEqual([across, down], [2, 2], name);
});

test("a missing or broken picture leaves the box empty and the game goes on", async () => {
  const first = afterMove(1);
  await page.evaluate((reference) => {
    window.sessiya.pictures[reference].src = "data:image/jpeg;base64,bm90IGEgcGljdHVyZQ==";
  }, first.picture);
  await page.click("#Command1");
  await page.waitForFunction(() => document.querySelector("#Picture1 img").hidden);
  assert.equal(await epigraph(), squeezed(first.captions[0]));
  assert.notEqual(await page.getAttribute("#Picture1", "aria-label"), "");
  assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById("Picture1"))
    .backgroundColor), "rgb(239, 239, 239)");
  await page.evaluate(() => { delete window.sessiya.pictures["\\br_196.jpg"]; });
  await page.click("#m_file");
  await page.click("#m_new");
  assert.equal(await page.evaluate(() => document.querySelector("#Picture1 img:not([hidden])")),
               null);
  assert.equal(await epigraph(), squeezed(screens[walk.screen].captions[0]));
  assert.deepEqual(page.errors, []);
});

test("the dialog asks twice; a press into the main window brings the first question back",
     async () => {
  const opening = await epigraph();
  await page.click("#Command2");
  assert.equal(await shown("Form2"), true);
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[0]);
  assert.equal(await spoken(), DIALOG_QUESTIONS[0]);
  assert.equal(await focused(), "Form2_Command1");
  assert.equal(await epigraph(), opening);
  assert.equal(await page.locator(".option:visible").count(), 4);

  await page.click("#Form2_Command1");
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[1]);
  assert.equal(await spoken(), DIALOG_QUESTIONS[1]);
  await moveDialogDown();
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[1], "moving it is no coming in");
  await page.click("#Label2");  // into the main window
  await page.click("#Form2_Command1");
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[1], "asks again");
  assert.equal(await epigraph(), opening);

  await page.click("#Form2_Command1");
  const over = screens.find((screen) => !screen.buttonVisible.includes(true) &&
                                       screen.picture === "\\k1.jpg" && screen.pictureHeight === 5235);
  assert.equal(await shown("Form2"), false);
  assert.equal(await epigraph(), squeezed(over.captions[0]));
  assert.equal(await page.locator(".option:visible").count(), 0);
  assert.equal((await page.locator("#Picture1").boundingBox()).height, 349);
  assert.match(await spoken(), /Эта попытка окончена\. Новую начинает пункт «Новая попытка»/);
});

test("the main window takes moves while the dialog is open; the answer ends what they reached",
     async () => {
  await page.click("#Command2");
  await moveDialogDown();
  await page.click("#Command1");
  assert.equal(await shown("Form2"), true);
  assert.notEqual(await epigraph(), squeezed(screens[walk.screen].captions[0]));
  await page.click("#Form2_Command1");  // comes into the dialog: the first question first
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[1]);
  await page.click("#Form2_Command1");
  assert.equal(await page.locator(".option:visible").count(), 0);
});

test("declining, the close box and a new attempt leave the main window as it is", async () => {
  const opening = await epigraph();
  for (const decline of ["#Form2_Command2", "#Form2 .close-box", "Escape"]) {
    await clickAll(["m_new"]);
    await page.keyboard.press("3");  // B: the dialog on the first move
    await page.click("#Form2_Command1");
    await (decline === "Escape" ? page.keyboard.press(decline) : page.click(decline));
    assert.equal(await shown("Form2"), false, decline);
    assert.equal(await epigraph(), opening);
    assert.equal(await focused(), "Command1");
  }
  await clickAll(["m_new"]);
  await page.click("#Command2");
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[0], "a new show asks from the start");
  await page.click("#Form2_Command1");
  await page.click("#m_file");
  await page.click("#m_new");
  assert.equal(await shown("Form2"), true, "a new attempt does not touch the dialog");
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[1], "nor its stage");
});

test("the window last come into is in front; Tab into the dialog brings it in", async () => {
  await clickAll(["Command2", "Form2_Command1"]);
  const yes = await page.locator("#Form2_Command1").boundingBox();
  const inFront = () => page.evaluate(([x, y]) => document.elementFromPoint(x, y)
    .closest(".window").id, [yes.x + 5, yes.y + 5]);
  assert.equal(await inFront(), "Form2");
  await page.click("#Label1");
  assert.equal(await inFront(), "Form1");
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[1]);
  await page.focus("#Label9");  // the window's last stop
  await page.keyboard.press("Tab");
  assert.equal(await focused(), "Form2_Command1");
  assert.equal(await inFront(), "Form2");
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[0], "comes in at its first question");
});

test("forced colours mark the focused button and menu item in the system's highlight", async () => {
  await page.emulateMedia({ forcedColors: "active" });
  const look = (id) => page.evaluate((i) => {
    const style = getComputedStyle(document.getElementById(i));
    return [style.outlineStyle, style.backgroundColor];
  }, id);
  assert.deepEqual([(await look("Command1"))[0], (await look("Command3"))[0]], ["solid", "none"]);
  await page.keyboard.press("F10");
  assert.notEqual((await look("m_new"))[1], (await look("m_end"))[1]);
});

test("the dialog moves by its title bar and stays in the page", async () => {
  await page.click("#Command2");
  const before = await page.locator("#Form2").boundingBox();
  await page.mouse.move(before.x + 100, before.y + 10);
  await page.mouse.down();
  await page.mouse.move(before.x + 40, before.y + 60, { steps: 4 });
  await page.mouse.up();
  const moved = await page.locator("#Form2").boundingBox();
  assert.deepEqual([moved.x - before.x, moved.y - before.y], [-60, 50]);
  await page.mouse.move(moved.x + 100, moved.y + 10);
  await page.mouse.down();
  await page.mouse.move(-500, -500, { steps: 2 });
  await page.mouse.up();
  const clamped = await page.locator("#Form2").boundingBox();
  assert.deepEqual([clamped.x, clamped.y], [0, 0]);
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[0]);
});

test("Выход ends the game with a farewell that offers another", async () => {
  await page.click("#Command2");
  await page.click("#m_file");
  await page.click("#m_end");
  assert.equal(await shown("farewell"), true);
  assert.equal(await shown("Form1"), false);
  assert.equal(await shown("Form2"), false);
  assert.equal(await focused(), "play_again");
  assert.match(await spoken(), /^До новой сессии!/);
  await page.click("#play_again");
  assert.equal(await shown("Form1"), true);
  assert.equal(await epigraph(), squeezed(screens[walk.screen].captions[0]));
  assert.equal(await page.getAttribute("#Picture1 img", "src"),
               await page.evaluate(() => window.sessiya.pictures[""].src));
  assert.equal(await focused(), "Command1");
  await page.click("#Command2");
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[0]);
});

test("option keys choose as on the desktop, in either alphabet and case", async () => {
  const keys = [["1", 1], ["а", 1], ["A", 1], ["2", 3], ["б", 3], ["Б", 3], ["3", 2], ["в", 2],
                ["b", 2], ["4", 4], ["г", 4]];
  for (const [key, option] of keys) {
    await page.evaluate(() => {
      if (!document.getElementById("Form2").hidden) document.getElementById("Form2_Command2").click();
      document.getElementById("m_new").click();
    });
    await pressKey(key);
    assert.equal(await epigraph(), squeezed(afterMove(option).captions[0]), key);
    assert.equal(await shown("Form2"), option === 2, key);
  }
});

test("arrows move round the grid, Enter and Space press, the focus starts each scene", async () => {
  assert.equal(await focused(), "Command1");
  const steps = [["ArrowRight", "Command3"], ["ArrowDown", "Command4"], ["ArrowLeft", "Command2"],
                 ["ArrowUp", "Command1"], ["ArrowUp", "Command1"]];
  for (const [key, then] of steps) {
    await page.keyboard.press(key);
    assert.equal(await focused(), then, key);
  }
  await page.keyboard.press("ArrowRight");
  await page.keyboard.press("Enter");
  const next = afterMove(3);
  assert.equal(await epigraph(), squeezed(next.captions[0]));
  const first = [1, 3, 2, 4].find((option) => next.buttonVisible[option - 1]);
  assert.equal(await focused(), `Command${first}`);
  const label = await page.getAttribute(`#Command${first}`, "aria-label");
  assert.equal(label, `${"АВБГ"[first - 1]}. ${next.captions[first + 1]}`);
  assert.match(await spoken(), /На картинке: /);
  await page.keyboard.press(" ");
  assert.notEqual(await epigraph(), squeezed(next.captions[0]));
});

test("F10 and Alt+Ф open the menu; the arrows and Escape work in it", async () => {
  for (const open of [() => pressKey("F10", { code: "F10" }),
                      () => pressKey("ф", { code: "KeyA", alt: true })]) {
    await open();
    assert.equal(await shown("m_file_menu"), true, open);
    assert.equal(await focused(), "m_new");
    await page.keyboard.press("ArrowDown");
    assert.equal(await focused(), "m_end");
    await page.keyboard.press("Escape");
    assert.equal(await shown("m_file_menu"), false);
    assert.equal(await focused(), "Command1");
  }
  await page.keyboard.press("F10");
  await page.keyboard.press("Enter");
  assert.equal(await epigraph(), squeezed(screens[walk.screen].captions[0]));
});

test("the contact links are real links and take the desktop's hover colours", async () => {
  assert.equal(await page.getAttribute("#Label7", "href"),
               `mailto:${await text("Label7")}?subject=Ulmeda`);
  assert.match(await page.getAttribute("#Label9", "href"), /^https?:\/\//);
  const colours = () => page.evaluate(() => ["Label7", "Label9"].map((id) =>
    getComputedStyle(document.getElementById(id)).color));
  const [red, blue] = ["rgb(255, 0, 0)", "rgb(0, 0, 255)"];
  const over = async (selector, x = 5, y = 5) => {
    const box = await page.locator(selector).boundingBox();
    await page.mouse.move(box.x + x, box.y + y);
  };
  await over("#Label9");
  assert.deepEqual(await colours(), [red, blue]);
  await over("#Label7");
  assert.deepEqual(await colours(), [blue, blue]);
  await over("#centralwidget", 190, 260);  // the bare window: only the mail link turns red
  assert.deepEqual(await colours(), [red, blue]);
  await over("#Label3");  // no handler: nothing changes
  assert.deepEqual(await colours(), [red, blue]);
  await over("#Label1");
  assert.deepEqual(await colours(), [red, red]);
  await over("#Label9");
  await over("#Frame1", 3, 80);
  assert.deepEqual(await colours(), [red, red]);
});

test("a double-click on the website opens it once", async () => {
  const opened = [];
  page.context().on("page", (popup) => opened.push(popup));
  const first = page.waitForEvent("popup");
  await page.dblclick("#Label9");
  await first;
  await page.waitForTimeout(500);
  assert.equal(opened.length, 1);
  await Promise.all(opened.map((popup) => popup.close()));
});

// The page opened again in its tab, as a link or the address bar does: a new attempt.
async function reopen(reload = false) {
  await (reload ? page.reload() : page.goto(page.url()));
  await page.waitForFunction(() => document.documentElement.dataset.ready === "true");
}

// The endings collection, in the browser's storage.
const RECORD = "sessiya.endings";
// Read under the page's own lock: after the writes it has begun.
const stored = (key = RECORD) => page.evaluate((k) =>
  navigator.locks.request("sessiya.endings", () => localStorage.getItem(k)), key);
const endingsCount = async () => (await text("m_endings")).trim();
// The shortest path to an ending other than the dialog's game-over.
const toAnEnding = pathTo((screen) => !screen.buttonVisible.includes(true) && screen.picture !== "\\k1.jpg");

test("each ending is recorded once, by a press and by the dialog, and survives a reload",
     async () => {
  assert.equal(await endingsCount(), "Концовки: 0 из 14");
  await play(toAnEnding);
  assert.equal(await endingsCount(), "Концовки: 1 из 14");
  const first = await stored();
  assert.match(first, /^sessiya endings 1\nS\d\d\n$/);
  await page.click("#m_file");
  await page.click("#m_new");
  await play(toAnEnding);
  assert.equal(await stored(), first, "found once");
  await page.click("#m_file");
  await page.click("#m_new");
  await clickAll(["Command2", "Form2_Command1", "Form2_Command1"]);
  assert.equal(await endingsCount(), "Концовки: 2 из 14");
  assert.match(await stored(), /\nS20\n$/);

  await reopen();
  assert.equal(await endingsCount(), "Концовки: 2 из 14");
  await page.click("#m_endings");
  await page.click("#m_found_endings");
  assert.equal(await shown("endings"), true);
  assert.equal(await text("found_count"), "Найдено: 2 из 14");
  const rows = await page.locator("#endings_list li").allTextContents();
  assert.equal(rows.length, 14);
  assert.equal(rows.filter((row) => row.startsWith("???")).length, 12);
  assert.equal(await page.locator("#endings_list li img").count(), 2);
  assert.equal(await shown("all_found"), false);
  for (const key of ["Tab", "Tab", "Shift+Tab", "Tab"]) {
    await page.keyboard.press(key);
    assert.match(await focused(), /^endings_(list|close)$/, "the focus stays in the list");
  }
  await page.keyboard.press("Escape");
  assert.equal(await shown("endings"), false);
  assert.equal(await focused(), "Command1");

  // A tab whose first paint is never reported (one opened hidden) reads the record all the same.
  await page.addInitScript(() => {
    window.PerformanceObserver = class { observe() {} disconnect() {} };
  });
  await reopen();
  assert.equal(await endingsCount(), "Концовки: 2 из 14");
  assert.deepEqual(page.errors, []);
});

test("forgetting asks first; all fourteen found say so", async () => {
  const names = ["S03", "S06", "S08", "S11", "S12", "S17", "S19", "S20", "S21", "S24", "S25",
                 "S26", "S27", "S31"];
  await page.evaluate(([key, text]) => localStorage.setItem(key, text),
                      [RECORD, `sessiya endings 1\n${names.join("\n")}\n`]);
  await reopen();
  await page.click("#m_endings");
  await page.click("#m_found_endings");
  assert.equal(await shown("all_found"), true);
  await page.click("#endings_close");
  for (const [answer, count] of [[false, 14], [true, 0]]) {
    page.once("dialog", (question) => (answer ? question.accept() : question.dismiss()));
    await page.click("#m_endings");
    await page.click("#m_forget_endings");
    assert.equal(await endingsCount(), `Концовки: ${count} из 14`);
  }
  assert.equal(await stored(), "sessiya endings 1\n");
});

test("a damaged record starts empty, says so once and each damage is kept aside in turn",
     async () => {
  const damages = ["garbage\u0000", "sessiya endings 1\nS03\nS2", "sessiya endings 1\nS42\n"];
  for (const [number, damaged] of damages.entries()) {
    await page.evaluate(([key, text]) => localStorage.setItem(key, text), [RECORD, damaged]);
    const said = [];
    page.on("console", (message) => { if (message.type() === "error") said.push(message.text()); });
    await reopen();
    assert.equal(await endingsCount(), "Концовки: 0 из 14");
    await page.click("#m_endings");
    await page.click("#m_found_endings");  // reading it again says nothing new
    await page.keyboard.press("Escape");
    assert.equal(said.length, 1, said.join("\n"));
    assert.match(said[0], /sessiya: endings record/);
    assert.equal(await stored(), damaged, "left alone");
    await play(toAnEnding);
    const copy = `${RECORD}.bak${number === 0 ? "" : `.${number}`}`;
    assert.match(await stored(), /^sessiya endings 1\nS\d\d\n$/);
    assert.match(said[1], new RegExp(`kept as "${copy}"$`));
    for (const [earlier, text] of damages.slice(0, number + 1).entries()) {
      assert.equal(await stored(`${RECORD}.bak${earlier === 0 ? "" : `.${earlier}`}`), text);
    }
    page.removeAllListeners("console");
  }
});

test("a damaged value too large to copy leaves its first part beside the record written",
     async () => {
  await page.evaluate((key) => localStorage.setItem(key, "ы".repeat(3_000_000)), RECORD);
  const said = [];
  page.on("console", (message) => said.push(message.text()));
  await reopen();
  await play(toAnEnding);
  assert.match(await stored(), /^sessiya endings 1\nS\d\d\n$/);
  const kept = await stored(`${RECORD}.bak`);
  assert.ok(kept.length === 65536 && /^ы+$/.test(kept), `${kept.length} characters kept`);
  assert.match(said.at(-1),
               /\(3000000 characters\).*first 65536 characters are kept as "sessiya\.endings\.bak"/);
});

// A full quota; and a damaged value whose copy aside does not fit, though the record would
// (writing it frees the damaged value's room): it is not written over, as on the desktop.
for (const [what, damaged, notice] of [
  ["an ending that cannot be stored", null, "Концовки не сохранились: хранилище браузера переполнено."],
  ["a damaged value that cannot be kept aside", "garbage",
   "Концовки не сохранились: испорченную запись не удалось отложить."],
]) {
  test(`${what} is counted as not kept, and the menu and list say why`, async () => {
    if (damaged !== null) {
      await page.evaluate(([key, text]) => localStorage.setItem(key, text), [RECORD, damaged]);
      await reopen();
    }
    await page.evaluate((record) => {
      const setItem = Storage.prototype.setItem;
      Storage.prototype.setItem = function (key, value) {
        if (key === record && this.getItem(record) !== null) return setItem.call(this, key, value);
        throw new DOMException("full", "QuotaExceededError");
      };
    }, RECORD);
    await play(toAnEnding);
    assert.equal(await stored(), damaged, "tried under the lock, the damaged value left");
    assert.equal(await endingsCount(), "Концовки: 1 из 14 (не сохранено: 1)");
    await page.click("#m_endings");
    assert.equal(await text("m_endings_notice"), notice);
    await page.click("#m_found_endings");
    assert.equal(await text("found_count"), "Найдено: 1 из 14 (не сохранено: 1)");
    assert.equal(await text("endings_notice"), notice);
    assert.equal(await shown("endings_notice"), true);
  });
}

// Both tabs end at the same moment, their storage cleared each round; without locks too,
// as a browser that has none.
for (const locks of [true, false]) {
  test(`two tabs ending together keep both endings, and each one's count follows (locks: ${locks})`,
       async () => {
    const context = await browser.newContext({ viewport: { width: 1000, height: 700 } });
    if (!locks) await context.addInitScript(() => delete Navigator.prototype.locks);
    const tabs = await Promise.all([context.newPage(), context.newPage()]);
    const paths = [toAnEnding.map((option) => `Command${option}`),
                   ["Command2", "Form2_Command1", "Form2_Command1"]];
    await Promise.all(tabs.map((tab) => tab.goto(page.url())));
    for (let round = 0; round < 50; round += 1) {
      await tabs[0].evaluate(() => localStorage.clear());
      await Promise.all(tabs.map(async (tab) => {
        await tab.goto(page.url());  // a new attempt, as from the address bar
        await tab.waitForFunction(() => document.documentElement.dataset.ready === "true");
      }));
      const at = Date.now() + 100;
      await Promise.all(tabs.map((tab, i) => tab.evaluate(([ids, wait]) => new Promise((done) =>
        setTimeout(() => done(ids.forEach((id) => document.getElementById(id).click())), wait)),
        [paths[i], at - Date.now()])));
      for (const tab of tabs) {
        await tab.waitForFunction((key) => /^sessiya endings 1\nS\d\d\nS20\n$/.test(
          localStorage.getItem(key)) && document.getElementById("m_endings").textContent ===
          "Концовки: 2 из 14", RECORD, { timeout: 3000 });
      }
    }
    await context.close();
  });
}

test("a reloaded tab comes back to its attempt and dialog; a new tab starts anew", async () => {
  await clickAll(["Command2", "Form2_Command1", "Command1"]);
  const reached = await epigraph();
  await reopen(true);
  assert.equal(await epigraph(), reached);
  assert.equal(await text("Form2_Label1"), DIALOG_QUESTIONS[1]);
  await page.click("#Form2_Command1");
  assert.equal(await page.locator(".option:visible").count(), 0);
  const opening = squeezed(screens[walk.screen].captions[0]);
  const tab = await openGame(browser);
  assert.equal(squeezed(await tab.locator("#Label1 div").allTextContents().then((l) => l.join(""))),
               opening);
  await tab.close();
  await page.evaluate(() => sessionStorage.setItem("sessiya.attempt",
    JSON.stringify({ snapshot: "sessiya attempt 1\n29\n", dialog: 1 })));
  await reopen(true);
  assert.equal(await epigraph(), opening, "a damaged snapshot starts anew");
  assert.equal(await shown("Form2"), false);
});

// A phone discards a tab in the background: no pagehide, no unload; on return the browser loads
// the page anew (not as a reload) with the tab's sessionStorage and document.wasDiscarded.
// Headless Chromium has no discarding, so a new tab is given what the tab's storage held and
// that flag.
test("a tab the browser discarded comes back to its attempt and dialog", async () => {
  const context = await browser.newContext({ viewport: { width: 1000, height: 700 } });
  const tab = await openGame(context);
  await tab.evaluate(() => ["Command2", "Form2_Command1", "Command1"].forEach(
    (id) => document.getElementById(id).click()));
  const shownEpigraph = (where) => where.evaluate(() => [...document.querySelectorAll("#Label1 div")]
    .map((line) => line.textContent).join("").replace(/\s+/g, ""));
  const reached = await shownEpigraph(tab);
  // What the tab's storage holds once its moves are drawn: headless, a tab in the background
  // stays visible, and a discard comes with no event.
  await tab.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => setTimeout(drawn))));
  const kept = await tab.evaluate(() => Object.entries(sessionStorage));
  const restored = await context.newPage();
  await restored.addInitScript((entries) => {
    if (sessionStorage.length === 0) entries.forEach(([key, value]) => sessionStorage.setItem(key, value));
    Object.defineProperty(Document.prototype, "wasDiscarded", { get: () => true });
  }, kept);
  await restored.goto(tab.url());
  await restored.waitForFunction(() => document.documentElement.dataset.ready === "true");
  assert.equal(await shownEpigraph(restored), reached);
  assert.equal(await restored.evaluate(() => document.getElementById("Form2_Label1").textContent),
               DIALOG_QUESTIONS[1]);
  await context.close();
});

// Screens where the window does not fit, or the player's text settings do not fit its labels:
// one column, or the exact window where the screen holds it.
const SPACING = "* { line-height: 1.5 !important; letter-spacing: 0.12em !important; " +
  "word-spacing: 0.16em !important; } p { margin-bottom: 2em !important; }";
const SCREENS = [
  { name: "a phone", viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true },
  { name: "a small phone", viewport: { width: 320, height: 568 }, isMobile: true, hasTouch: true },
  { name: "a tablet", viewport: { width: 820, height: 1180 }, isMobile: true, hasTouch: true, exact: true },
  { name: "200 % zoom", viewport: { width: 640, height: 360 }, deviceScaleFactor: 2 },
  { name: "a 16-px minimum font", minimumFontSize: 16 },
  { name: "the text-spacing override", bypassCSP: true, style: SPACING },
];
for (const { name, exact = false, minimumFontSize, style, ...options } of SCREENS) {
  test(`on ${name}: all of the game in view, every control tapped, a play to its end`, async () => {
    let owner = browser;
    if (minimumFontSize) {  // a setting of the player's own browser profile
      const profile = mkdtempSync(`${tmpdir()}/sessiya-profile-`);
      mkdirSync(`${profile}/Default`);
      writeFileSync(`${profile}/Default/Preferences`, JSON.stringify({
        webkit: { webprefs: { minimum_font_size: minimumFontSize } } }));
      owner = await chromium.launchPersistentContext(profile, {
        executablePath: process.env.SESSIYA_CHROMIUM ?? "/usr/bin/chromium",
        args: ["--no-sandbox"], viewport: { width: 1000, height: 700 } });
    }
    const tab = await openGame(owner, { viewport: { width: 1000, height: 700 }, ...options });
    if (style) await tab.addStyleTag({ content: style });  // as a bookmarklet sets it
    const tap = (id) => (options.hasTouch ? tab.tap(`#${id}`) : tab.click(`#${id}`));
    const inView = async (what) => {
      const look = await tab.evaluate(() => {
        const controls = [...document.querySelectorAll("button, a")].filter((c) => c.checkVisibility());
        const texts = [...document.querySelectorAll(".reflowed, button, a")].filter((c) => c.checkVisibility());
        return {
          oneColumn: document.documentElement.classList.contains("reflow"),
          across: document.documentElement.scrollWidth - innerWidth,
          small: controls.filter((c) => c.offsetWidth < 44 || c.offsetHeight < 44).map((c) => c.id || c.className),
          font: Math.min(...texts.map((c) => parseFloat(getComputedStyle(c).fontSize))),
          out: [...document.querySelectorAll("#endings, #endings_close")].filter((c) => c.checkVisibility())
            .filter((c) => c.getBoundingClientRect().bottom > innerHeight).map((c) => c.id),
        };
      });
      assert.equal(look.oneColumn, !exact, what);
      assert.equal(look.across, 0, `${what}: scrolls across`);
      if (!exact) assert.deepEqual([look.small, look.font >= 16, look.out], [[], true, []], what);
      await audit(tab);
    };
    const optionsShown = () => tab.locator(".option:visible").count();
    const newAttempt = async () => {
      await tap("m_file");
      await tap("m_new");
    };
    await tab.waitForFunction((one) => document.documentElement.classList.contains("reflow") === one, !exact);
    await inView("opening");
    for (const option of [1, 3, 4, 2]) {  // А Б Г, each from the opening scene, then В
      if (option !== 1) {
        await tap("m_file");
        await inView("the menu");
        await tap("m_new");
      }
      await tap(`Command${option}`);
    }
    await inView("the dialog");
    await tap("Form2_Command2");
    await newAttempt();
    await tap("Command2");
    await tap("Form2_Command1");
    await tap("Form2_Command1");
    assert.equal(await optionsShown(), 0, "the ending");
    await tap("m_endings");
    await tap("m_found_endings");
    await inView("the endings list");
    await tap("endings_close");
    await newAttempt();
    assert.equal(await optionsShown(), 4, "started again");
    assert.deepEqual(tab.errors, []);
    await (owner === browser ? tab.close() : owner.close());
  });
}
