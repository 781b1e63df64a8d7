// The pictures: each one an image at its natural size, the scene's shown in its box.
import { $ } from "./elements.js";
import { assets, scenePictures } from "./assets.js";

const parsed = new Promise((resolve) => {
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", resolve);
  } else {
    resolve();
  }
});

// img: the one the page was built with, taken over where it shows the same picture.
export function pictureOf(entry, img = new Image()) {
  img.width = entry.width;
  img.height = entry.height;
  img.alt = "";
  // How far the one-column layout may scale it: up to its 2x copy's own pixels.
  img.style.setProperty("--natural-width", `${entry.width}px`);
  img.setAttribute("aria-hidden", "true");
  // A picture that cannot be shown leaves the box's background; the game goes on.
  img.addEventListener("error", () => { img.hidden = true; });
  if (img.getAttribute("src") !== entry.src) img.src = entry.src;
  return img;
}

// Each picture is decoded once, on its first showing, and kept for the next ones.
const shownPictures = new Map();
let shownReference = null;
export function showPicture(reference) {
  shownReference = reference;
  const box = $("Picture1");
  if (reference !== "" && document.readyState === "loading") {
    // A move before the page has been read to its end: the picture follows when it has, and
    // until then the box shows none of another scene's.
    box.replaceChildren();
    parsed.then(() => { if (shownReference === reference) showPicture(reference); });
    return;
  }
  const entry = reference === "" ? assets.start : scenePictures()[reference];
  if (entry === undefined) {
    box.replaceChildren();
    return;
  }
  let img = shownPictures.get(entry);
  if (img === undefined) {
    const written = box.querySelector("img");
    img = pictureOf(entry, written?.getAttribute("src") === entry.src ? written : undefined);
    shownPictures.set(entry, img);
  }
  box.replaceChildren(img);
}
