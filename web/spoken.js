// What a screen reader says: one live region, its text replaced.
import { $ } from "./elements.js";

export function announce(text) {
  const said = document.createElement("p");
  said.textContent = text;
  $("spoken").replaceChildren(said);
}
