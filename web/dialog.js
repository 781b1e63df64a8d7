// The answer dialog: modeless, asks twice; the second "Да!" in a row ends the attempt.
// It also knows which of the game's two windows the player is in: a press or the focus
// coming into the other one brings it in; the dialog starts again at its first question
// when it comes in.
import { afterPaint } from "./after_paint.js";
import { $ } from "./elements.js";
import { assets } from "./assets.js";
import { pictureOf } from "./pictures.js";
import { announce } from "./spoken.js";

const QUESTIONS = ["Итак ответ B?", "Вы уверены?"];

// confirmed: the final answer was given; hidden: the dialog went away, the main window is in.
export function answerDialog({ confirmed, hidden }) {
  const panel = $("Form2");
  const question = $("Form2_Label1");
  const yes = $("Form2_Command1");
  const titlebar = panel.querySelector(".titlebar");
  let stage = 0;  // 0 with the first question on screen, 1 once "Да!" was given
  let placed = false;
  let active = false;

  function ask(next) {
    stage = next;
    question.textContent = QUESTIONS[stage];
    announce(QUESTIONS[stage]);
  }
  function comeIn(dialog) {
    if (dialog === active) return;
    active = dialog;
    panel.classList.toggle("active", dialog);
    if (dialog) ask(0);
  }
  for (const event of ["pointerdown", "focusin"]) {
    document.addEventListener(event, (e) => {
      if (panel.contains(e.target)) comeIn(true);
      else if ($("Form1").contains(e.target)) comeIn(false);
    }, true);
  }

  function moveTo(left, top) {
    const box = panel.getBoundingClientRect();
    const x = Math.min(Math.max(left, 0), Math.max(0, innerWidth - box.width));
    const y = Math.min(Math.max(top, 0), Math.max(0, innerHeight - box.height));
    panel.style.left = `${x}px`;
    panel.style.top = `${y}px`;
  }
  function hide() {
    panel.hidden = true;
    panel.classList.remove("active");
    active = false;
    hidden();
  }
  function confirm() {
    if (stage === 0) {
      ask(1);
      return;
    }
    confirmed();
    hide();
  }

  // Where the stored layouts put it: 10 px left of the window, 93 px lower.
  function place() {
    const client = $("centralwidget").getBoundingClientRect();
    moveTo(client.left - 10, client.top + 93);
  }

  // Its picture once the scene is on screen, or as the dialog first shows: where pictures are
  // files, the opening scene's come first.
  let pictured = false;
  function picture() {
    if (pictured) return;
    pictured = true;
    $("Form2_Picture1").replaceChildren(pictureOf(assets.dialog));
  }
  afterPaint(picture);
  yes.addEventListener("click", confirm);
  $("Form2_Command2").addEventListener("click", hide);
  panel.querySelector(".close-box").addEventListener("click", hide);
  // Escape declines, as the desktop dialog's does.
  panel.addEventListener("keydown", (e) => {
    if (e.key !== "Escape") return;
    e.preventDefault();
    hide();
  });
  titlebar.addEventListener("pointerdown", (e) => {
    if (e.button !== 0 || e.target.closest(".close-box")) return;
    const box = panel.getBoundingClientRect();
    const grab = { x: e.clientX - box.left, y: e.clientY - box.top };
    titlebar.setPointerCapture(e.pointerId);
    const drag = (m) => moveTo(m.clientX - grab.x, m.clientY - grab.y);
    titlebar.addEventListener("pointermove", drag);
    titlebar.addEventListener("pointerup", () => titlebar.removeEventListener("pointermove", drag),
                              { once: true });
    e.preventDefault();
  });

  return {
    isActive: () => active,
    holds: (node) => panel.contains(node),
    // -1 hidden, else the question on screen: what a page that comes back shows again.
    state: () => (panel.hidden ? -1 : stage),
    show(atStage = 0) {
      picture();
      panel.hidden = false;
      if (!placed) {
        place();
        placed = true;
      }
      active = true;
      panel.classList.add("active");
      ask(atStage);
      yes.focus();
    },
    // The one column holds it below the window; back in the exact layout, it stands at its
    // place again.
    relayout(oneColumn) {
      placed = !oneColumn && !panel.hidden;
      if (placed) place();
    },
    // Gone with the game's window, back at its first question and place for the next game.
    reset() {
      panel.hidden = true;
      panel.classList.remove("active");
      active = false;
      placed = false;
      stage = 0;
      question.textContent = QUESTIONS[0];
    },
  };
}
