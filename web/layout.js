// The exact window where it fits; one column where the screen is narrower or lower than
// the window, or where the player's font size or text spacing pushes a text out of its box.
import { afterPaint } from "./after_paint.js";
import { $ } from "./elements.js";

// What no longer fits: a drawn line wider or taller than its box. A pixel or two is the
// wrap's own rounding.
const SLACK = 2;
function spills(element) {
  return element.scrollWidth > element.clientWidth + SLACK ||
    element.scrollHeight > element.clientHeight + SLACK;
}
const DRAWN = ".story-label > div, .menu-title, #Frame1 > *, #Form2_Label1";

// What read() reads in the exact layout: the page may have taken one column before its
// first paint.
export function inExactLayout(read) {
  const root = document.documentElement;
  const reflowed = root.classList.contains("reflow");
  root.classList.remove("reflow");
  const value = read();
  root.classList.toggle("reflow", reflowed);
  return value;
}

// switched(oneColumn): the layout changed.
export function pageLayout(switched) {
  const root = document.documentElement;
  const form1 = $("Form1");
  const exact = inExactLayout(() => ({ width: form1.offsetWidth, height: form1.offsetHeight }));
  let oneColumn = false;

  // Whether the exact layout fits, looked at in it. A screen smaller than the window needs
  // no look, and so lays nothing out: the window cannot fit.
  function exactFits() {
    if (exact.width > innerWidth || exact.height > innerHeight) return false;
    const [x, y] = [scrollX, scrollY];
    root.classList.remove("reflow");
    const fits = exact.width <= root.clientWidth &&
      ![...document.querySelectorAll(DRAWN)].some((line) => line.checkVisibility() && spills(line));
    if (!fits) {
      root.classList.add("reflow");
      // The look taken in the exact layout may have cut the column's scrolling short.
      scrollTo(x, y);
    }
    return fits;
  }
  function fit() {
    const fits = exactFits();
    root.classList.toggle("reflow", !fits);
    if (oneColumn !== !fits) {
      oneColumn = !fits;
      switched(oneColumn);
    }
  }
  // After a move the look waits for the frame: a scene drawn is never held up by it.
  let looking = false;
  function fitAfterFrame() {
    if (looking) return;
    looking = true;
    afterPaint(() => {
      looking = false;
      fit();
    });
  }
  addEventListener("resize", fit);
  // Text settings changed while the page is open (a text-spacing bookmarklet, a zoomed
  // font size) show in the width of a menu title.
  new ResizeObserver(fit).observe($("m_file"));
  fit();
  return { fit, fitAfterFrame, oneColumn: () => oneColumn };
}
