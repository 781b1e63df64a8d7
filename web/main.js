// The page's host loop: the engine holds the story; this draws what it holds as the
// desktop window draws it, and hands the engine the player's moves.
import { afterPaint } from "./after_paint.js";
import { $ } from "./elements.js";
import { assets, readPictures, scenePictures } from "./assets.js";
import { attemptStore } from "./attempt_store.js";
import { answerDialog } from "./dialog.js";
import { endingsWindow } from "./endings_window.js";
import { farewell } from "./farewell.js";
import { gameKeys } from "./keys.js";
import { pageLayout } from "./layout.js";
import { contactLinks } from "./links.js";
import { menuBar } from "./menus.js";
import { offlineCopy } from "./offline.js";
import { showPicture } from "./pictures.js";
import { buttons, sceneView } from "./scene.js";
import { announce } from "./spoken.js";

const NEW_ATTEMPT = "пункт «Новая попытка» в меню «Файл»";

// Compiled as the page is read, before its pictures.
const engine = SessiyaEngine();
// The opening scene is drawn, and looked at for text that spills, in the page's own face,
// whose loading the head has begun; a font from a data: URI most often loads at once.
const FONT = '11px "Sessiya Sans"';

// What the engine asks of the page during a move, done once the move is drawn.
let pendingPicture = null;
let dialogAsked = false;
const page = {
  loadPicture(reference) { pendingPicture = reference; },
  showDialog() { dialogAsked = true; },
};
let game = null;
let layout = null;
const attempt = attemptStore();

const view = sceneView(engine);
const dialog = answerDialog({
  confirmed() {
    game.confirmFinalAnswer();
    render(true);
  },
  hidden() {
    focusFirstOption();
    keep();
  },
});
// The dialog's question changes as the player answers or comes into it.
for (const event of ["click", "focusin"]) $("Form2").addEventListener(event, () => game && keep());
const menus = menuBar(focusFirstOption);
const endings = endingsWindow(engine, { leaveMenu: () => menus.close(false), backToGame: focusFirstOption });
const links = contactLinks(engine);
gameKeys(engine, { menus, dialog, endings });

function focusFirstOption() {
  if (!dialog.isActive()) view.focusFirstOption(game.screen());
}

function keep() {
  attempt.keep(() => ({ snapshot: game.snapshot(), dialog: dialog.state() }));
}

function render(speak) {
  const screen = game.screen();
  view.draw(screen, pendingPicture);
  pendingPicture = null;
  if (speak) {
    const over = !screen.buttonVisible.includes(true);
    announce(game.spokenScene() + (over ? ` ${engine.attemptOverCue(NEW_ATTEMPT)}` : ""));
  }
  focusFirstOption();
  endings.note(game.ending());
  layout?.fitAfterFrame();
  keep();
}

function press(option) {
  dialogAsked = false;
  game.press(option);
  render(true);
  // In one column the new scene is read from its picture down.
  if (layout.oneColumn()) scrollTo(0, 0);
  if (dialogAsked) dialog.show();
}
buttons.forEach((button, i) => button.addEventListener("click", () => press(i + 1)));

$("m_new").addEventListener("click", () => {
  menus.close(false);
  game.newAttempt();
  render(true);
});

function start() {
  game = new engine.Game(page);
  links.reset();
  showPicture("");
  const kept = attempt.take();
  const restored = kept !== null && game.restore(String(kept.snapshot));
  render(true);
  if (restored && [0, 1].includes(kept.dialog)) dialog.show(kept.dialog);
}
farewell({
  leave() {
    menus.close(false);
    dialog.reset();
    endings.hide();
  },
  playAgain() {
    game.delete();
    start();
  },
});

// The pictures as the page holds them, for its tests to check and to spoil.
window.sessiya = {
  get pictures() { return scenePictures(); },
  dialog: assets.dialog,
};
// The opening scene first; the endings record and the scene pictures once it is painted.
function begin() {
  // A screen smaller than the window takes one column before the scene is drawn, so it is
  // laid out once; a larger one is looked at with the scene in it.
  layout = pageLayout(dialog.relayout);
  // The scene written into the page is taken over in the same task: no frame between.
  const root = document.documentElement;
  const early = root.dataset.pressed;
  delete root.dataset.pressed;
  root.classList.remove("starting", "resuming", "waiting");
  $("Form1").classList.remove("loading");
  start();
  layout.fit();
  if (early !== undefined) {
    $(early).classList.remove("taken");
    $(early).click();
  }
  afterPaint(() => {
    endings.readRecord();
    document.documentElement.dataset.ready = "true";
    readPictures();
  });
}
offlineCopy();
if (document.fonts.check(FONT)) begin();
else document.fonts.load(FONT).then(begin);
