// A page cannot close itself: the game ends with a farewell that offers another.
import { $ } from "./elements.js";
import { announce } from "./spoken.js";

// leave: puts the game's windows away; playAgain: starts a new game in the main window.
export function farewell({ leave, playAgain }) {
  const form1 = $("Form1");
  $("m_end").addEventListener("click", () => {
    leave();
    form1.hidden = true;
    $("farewell").hidden = false;
    $("play_again").focus();
    announce(`${$("farewell_title").textContent} ${$("farewell_text").textContent}`);
  });
  $("play_again").addEventListener("click", () => {
    $("farewell").hidden = true;
    form1.hidden = false;
    playAgain();
  });
}
