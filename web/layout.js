// The exact window where it fits; one column where the screen is narrower or lower than
// the window, or where the player's font size or text spacing pushes a text out of its box.
import { $ } from "./elements.js";

// What no longer fits: a drawn line wider or taller than its box. A pixel or two is the
// wrap's own rounding.
const SLACK = 2;
function spills(element) {
  return element.scrollWidth > element.clientWidth + SLACK ||
    element.scrollHeight > element.clientHeight + SLACK;
}
const DRAWN = ".story-label > div, .menu-title, #Frame1 > *, #Form2_Label1";

// switched(oneColumn): the layout changed.
export function pageLayout(switched) {
  const root = document.documentElement;
  const form1 = $("Form1");
  // The window's size in the exact layout, read once it is drawn.
  const exact = { width: form1.offsetWidth, height: form1.offsetHeight };
  let oneColumn = false;

  // Whether the exact layout fits, looked at in it. A screen smaller than the window needs
  // no look: the window cannot fit.
  function exactFits() {
    if (exact.width > innerWidth || exact.height > innerHeight) return false;
    root.classList.remove("reflow");
    return exact.width <= root.clientWidth &&
      ![...document.querySelectorAll(DRAWN)].some((line) => line.checkVisibility() && spills(line));
  }
  function fit() {
    const [x, y] = [scrollX, scrollY];
    const fits = exactFits();
    root.classList.toggle("reflow", !fits);
    // The exact layout's look taken in between may have cut the column's scrolling short.
    if (!fits) scrollTo(x, y);
    if (oneColumn !== !fits) {
      oneColumn = !fits;
      switched(oneColumn);
    }
  }
  addEventListener("resize", fit);
  // Text settings changed while the page is open (a text-spacing bookmarklet, a zoomed
  // font size) show in the width of a menu title.
  new ResizeObserver(fit).observe($("m_file"));
  fit();
  return { fit, oneColumn: () => oneColumn };
}
