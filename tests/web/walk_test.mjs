// Every path of the story played through the page, against the native engine's walk
// (story_map's STATES.json), and every scene's lines against the desktop window's.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { launch, openGame, readJson } from "./browser.mjs";

let browser;
let page;
let walked;
before(async () => {
  browser = await launch();
  page = await openGame(browser);
  const states = readJson(process.env.SESSIYA_STATES);
  // What each picture shows, from the story's own table in a fresh engine of its own.
  const descriptions = await page.evaluate((pictures) => Object.fromEntries(pictures.map(
    (picture) => [picture, SessiyaEngine().pictureDescription(picture)])),
    [...new Set(Object.values(states.screens).map((screen) => screen.picture))]);
  walked = await page.evaluate(playEveryPath, { ...states, descriptions });
  assert.deepEqual(page.errors, []);
});
after(() => browser.close());

// Runs in the page: walks the tree depth first by clicking the page's own controls, back
// to a branch point by a new attempt and the moves that lead there.
function playEveryPath({ screens, walk, descriptions }) {
  const $ = (id) => document.getElementById(id);
  const squeezed = (text) => text.replace(/\s+/g, "");
  const problems = [];
  const lines = {};  // "LabelN squeezed caption": the lines the page drew
  let moves = 0;

  function check(expected, dialogOpen, path) {
    const differs = (what) => problems.push(`after ${path.join(" ") || "start"}: ${what}`);
    for (let n = 1; n <= 6; ++n) {
      const shown = [...$(`Label${n}`).querySelectorAll("div")].map((row) => row.textContent);
      const caption = expected.captions[n - 1];
      if (squeezed(shown.join("")) !== squeezed(caption)) differs(`Label${n} shows ${shown}`);
      lines[`Label${n} ${squeezed(caption)}`] = shown;
    }
    for (let option = 1; option <= 4; ++option) {
      if ($(`Label${option + 2}`).checkVisibility() !== expected.labelVisible[option - 1]) {
        differs(`Label${option + 2} visibility`);
      }
      if ($(`Command${option}`).checkVisibility() !== expected.buttonVisible[option - 1]) {
        differs(`Command${option} visibility`);
      }
    }
    const picture = $("Picture1").querySelector("img");
    if (picture === null || picture.hidden || picture.getAttribute("src") !== window.sessiya.pictures[expected.picture].src) {
      differs(`picture, expected ${expected.picture}`);
    }
    if ($("Picture1").offsetHeight !== expected.pictureHeight / 15) differs("picture height");
    if ($("Picture1").getAttribute("aria-label") !== descriptions[expected.picture]) {
      differs(`picture name, expected the description of ${expected.picture}`);
    }
    if ($("Form2").hidden === dialogOpen) differs("dialog");
  }
  function play(move) {
    if (move <= 4) {
      $(`Command${move}`).click();
    } else if (move === 5) {  // "Да!" twice
      $("Form2_Command1").click();
      $("Form2_Command1").click();
    } else {
      $("Form2_Command2").click();
    }
  }
  function replay(path) {
    if (!$("Form2").hidden) $("Form2_Command2").click();
    $("m_new").click();
    path.forEach(play);
  }
  function visit(node, path) {
    node.moves.forEach(([move, next], i) => {
      if (i > 0) replay(path);
      play(move);
      ++moves;
      const further = [...path, move];
      check(screens[next.screen], next.dialog, further);
      visit(next, further);
    });
  }
  check(screens[walk.screen], false, []);
  visit(walk, []);
  return { moves, problems: problems.slice(0, 10), problemCount: problems.length, lines };
}

test("every path plays in the page as the engine walks it", () => {
  assert.ok(walked.moves > 5000, `only ${walked.moves} moves`);
  assert.deepEqual(walked.problems, [], `${walked.problemCount} differences`);
});

test("every scene's texts break into the desktop window's lines", () => {
  const desktop = readJson(process.env.SESSIYA_LINES);
  const scenes = Object.entries(desktop.scenes);
  assert.equal(scenes.length, 32);
  for (const [scene, labels] of scenes) {
    assert.ok(labels.Label1, `${scene}: no epigraph`);
    for (const [label, expected] of Object.entries(labels)) {
      const shown = walked.lines[`${label} ${expected.join("").replace(/\s+/g, "")}`];
      assert.ok(shown, `${scene}: the page never showed its ${label}`);
      assert.deepEqual(shown, expected, `${scene} ${label}`);
    }
  }
});

test("the wrap breaks by the positions it is handed, and only by as many as the text has", async () => {
  const wrap = (text, width, positions) => page.evaluate(
    ([t, w, p]) => [...SessiyaEngine().wrapLines(t, w, new Float64Array(p))].map((c) => c.charCodeAt(0)),
    [text, width, positions]);
  assert.deepEqual(await wrap("ab cd", 22, [0, 10, 20, 25, 35, 45]), [0, 2, 3, 2]);
  assert.deepEqual(await wrap("ab cd", 22, [0, 10, 20]), []);
});
