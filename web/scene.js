// A scene as the desktop window draws it: the captions wrapped into their labels, the
// options' buttons, the picture box's height and picture.
import { $ } from "./elements.js";
import { assets } from "./assets.js";
import { showPicture } from "./pictures.js";
import { textWrapper } from "./wrap.js";

const TWIPS_PER_PIXEL = 15;

export const buttons = [1, 2, 3, 4].map((n) => $(`Command${n}`));

export function sceneView(engine) {
  const labels = [1, 2, 3, 4, 5, 6].map((n) => $(`Label${n}`));
  const pictureBox = $("Picture1");
  const readingOrder = engine.readingOrder();  // Command1, Command3, Command2, Command4
  const linesOf = textWrapper(engine, assets.metrics);

  // The labels never change size: their widths are read once.
  const labelWidths = new Map(labels.map((label) => [label, label.clientWidth]));
  // The lines are drawn for the eye; a screen reader gets the caption in one piece.
  const drawn = new WeakMap();
  function drawLabel(label, text) {
    if (drawn.get(label) === text) return;
    drawn.set(label, text);
    const lines = linesOf(text, labelWidths.get(label)).map((line) => {
      const row = document.createElement("div");
      row.textContent = line;
      row.setAttribute("aria-hidden", "true");
      return row;
    });
    const whole = document.createElement("span");
    whole.className = "for-screen-readers";
    whole.textContent = text;
    // For the one column: the spaces that push a line on, as a line break.
    const reflowed = document.createElement("p");
    reflowed.className = "reflowed";
    reflowed.setAttribute("aria-hidden", "true");
    reflowed.textContent = text.replace(/ {2,}/g, "\n");
    label.replaceChildren(...lines, whole, reflowed);
  }

  return {
    // picture: the reference the engine asked for since the last drawing, or null.
    draw(screen, picture) {
      screen.captions.forEach((caption, i) => drawLabel(labels[i], caption));
      for (let option = 1; option <= 4; ++option) {
        labels[option + 1].hidden = !screen.labelVisible[option - 1];
        const button = buttons[option - 1];
        button.hidden = !screen.buttonVisible[option - 1];
        button.setAttribute("aria-label", `${engine.spokenLetter(option)}. ${screen.captions[option + 1]}`);
      }
      pictureBox.style.height = `${screen.pictureHeight / TWIPS_PER_PIXEL}px`;
      if (picture !== null) showPicture(picture);
      pictureBox.setAttribute("aria-label", engine.pictureDescription(screen.picture));
    },
    focusFirstOption(screen) {
      const first = readingOrder.find((option) => screen.buttonVisible[option - 1]);
      const target = first === undefined ? $("centralwidget") : buttons[first - 1];
      if (document.activeElement !== target) target.focus({ preventScroll: true });
    },
  };
}
