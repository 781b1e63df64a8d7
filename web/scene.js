// A scene as the desktop window draws it: the captions wrapped into their labels, the
// options' buttons, the picture box's height and picture.
import { $ } from "./elements.js";
import { assets } from "./assets.js";
import { inExactLayout } from "./layout.js";
import { showPicture } from "./pictures.js";
import { TWIPS_PER_PIXEL, optionName, reflowedText } from "./scene_text.js";
import { textWrapper } from "./wrap.js";

export const buttons = [1, 2, 3, 4].map((n) => $(`Command${n}`));

// An element's one text node, made if its text is empty.
function textNode(element) {
  return element.firstChild ?? element.appendChild(document.createTextNode(""));
}

export function sceneView(engine) {
  const labels = [1, 2, 3, 4, 5, 6].map((n) => $(`Label${n}`));
  const pictureBox = $("Picture1");
  const readingOrder = engine.readingOrder();  // Command1, Command3, Command2, Command4
  const letters = buttons.map((_, i) => engine.spokenLetter(i + 1));
  let describedPicture = null;
  const linesOf = textWrapper(engine, assets.metrics);

  // The labels never change size: their widths are read once.
  const labelWidths = inExactLayout(() => new Map(labels.map((label) => [label, label.clientWidth])));
  // The lines are drawn for the eye; a screen reader gets the caption in one piece; the one
  // column shows it with the spaces that push a line on as a line break. Each label keeps
  // its nodes from move to move, and a line's text changes only where the text does; the
  // opening scene written into the page by its build is taken over, its nodes drawn over.
  const drawn = new Map(labels.map((label) => {
    const [written, writtenWhole, ...writtenRows] = [...label.children].reverse();
    if (writtenWhole?.className === "for-screen-readers" && written.className === "reflowed") {
      return [label, { text: null, rows: writtenRows.reverse().map(textNode),
                       whole: textNode(writtenWhole), reflowed: textNode(written) }];
    }
    const whole = document.createElement("span");
    whole.className = "for-screen-readers";
    const reflowed = document.createElement("p");
    reflowed.className = "reflowed";
    reflowed.setAttribute("aria-hidden", "true");
    whole.append("");
    reflowed.append("");
    label.replaceChildren(whole, reflowed);
    return [label, { text: null, rows: [], whole: whole.firstChild, reflowed: reflowed.firstChild }];
  }));
  function drawLabel(label, text) {
    const nodes = drawn.get(label);
    if (nodes.text === text) return;
    nodes.text = text;
    const lines = linesOf(text, labelWidths.get(label));
    const { rows } = nodes;
    while (rows.length > lines.length) rows.pop().parentNode.remove();
    lines.forEach((line, i) => {
      if (i === rows.length) {
        const row = document.createElement("div");
        row.setAttribute("aria-hidden", "true");
        row.append(line);
        label.insertBefore(row, nodes.whole.parentNode);
        rows.push(row.firstChild);
      } else if (rows[i].data !== line) {
        rows[i].data = line;
      }
    });
    nodes.whole.data = text;
    nodes.reflowed.data = reflowedText(text);
  }

  return {
    // picture: the reference the engine asked for since the last drawing, or null.
    draw(screen, picture) {
      screen.captions.forEach((caption, i) => drawLabel(labels[i], caption));
      for (let option = 1; option <= 4; ++option) {
        labels[option + 1].hidden = !screen.labelVisible[option - 1];
        const button = buttons[option - 1];
        button.hidden = !screen.buttonVisible[option - 1];
        const name = optionName(letters[option - 1], screen.captions[option + 1]);
        if (button.getAttribute("aria-label") !== name) button.setAttribute("aria-label", name);
      }
      pictureBox.style.height = `${screen.pictureHeight / TWIPS_PER_PIXEL}px`;
      if (picture !== null) showPicture(picture);
      if (describedPicture !== screen.picture) {
        describedPicture = screen.picture;
        pictureBox.setAttribute("aria-label", engine.pictureDescription(screen.picture));
      }
    },
    focusFirstOption(screen) {
      const first = readingOrder.find((option) => screen.buttonVisible[option - 1]);
      const target = first === undefined ? $("centralwidget") : buttons[first - 1];
      if (document.activeElement !== target) target.focus({ preventScroll: true });
    },
  };
}
