// What the page carries: the opening scene's and the dialog's pictures and the font's
// metrics up front, the scene pictures at the page's end, read on their first need or
// once the page has been read to its end, whichever comes first.
import { $ } from "./elements.js";

export const assets = JSON.parse($("assets").textContent);

let pictures = null;
export function scenePictures() {
  if (pictures === null) {
    pictures = { "": assets.start, ...JSON.parse($("pictures").textContent) };
  }
  return pictures;
}

export function readPictures() {
  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", scenePictures);
  } else {
    scenePictures();
  }
}
