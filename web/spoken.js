// What a screen reader says: one live region, its text replaced.
import { $ } from "./elements.js";

let said = 0;

function say(text) {
  const line = document.createElement("p");
  line.textContent = text;
  $("spoken").replaceChildren(line);
}

export function announce(text) {
  say(text);
  ++said;
}

// A screen reader may listen to a page only a while after it has loaded: Orca 48 drops what
// the live region says before the browser's word that the page has loaded reaches it. The
// opening scene, if it is still all that was said, is said once more; emptied first, since
// the same text put back in place is no change to the browser.
const SETTLE_MS = 2000;
setTimeout(() => {
  if (said !== 1) return;
  const text = $("spoken").textContent;
  $("spoken").replaceChildren();
  setTimeout(() => said === 1 && say(text), 100);
}, SETTLE_MS);
