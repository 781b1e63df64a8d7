// The endings found: their count in the menu's title, and the window that lists them,
// with a hint in place of each one not found yet.
import { $ } from "./elements.js";
import { scenePictures } from "./assets.js";
import { endingsStore } from "./endings_store.js";
import { pictureOf } from "./pictures.js";
import { announce } from "./spoken.js";

// leaveMenu: closes the menu an item was chosen in; backToGame: the keys go back to the game.
export function endingsWindow(engine, { leaveMenu, backToGame }) {
  const ENDINGS = engine.endings();
  const found = endingsStore(engine);
  const panel = $("endings");

  function showCount() {
    $("m_endings").innerHTML = `<u>К</u>онцовки: ${found.size} из ${ENDINGS.length}`;
  }
  function fill() {
    const count = `Найдено: ${found.size} из ${ENDINGS.length}`;
    $("found_count").textContent = count;
    $("all_found").hidden = found.size !== ENDINGS.length;
    $("endings_list").replaceChildren(...ENDINGS.map((ending) => {
      const row = document.createElement("li");
      row.tabIndex = -1;
      const thumbnail = document.createElement("span");
      thumbnail.className = "thumbnail";
      const words = document.createElement("span");
      if (found.has(ending.name)) {
        const entry = scenePictures()[ending.picture];
        if (entry !== undefined) thumbnail.append(pictureOf(entry));
        words.textContent = ending.title;
      } else {
        words.innerHTML = `???<br>Подсказка: `;
        words.append(ending.hint);
        row.setAttribute("aria-label", `Не найдена. Подсказка: ${ending.hint}`);
      }
      row.append(thumbnail, words);
      return row;
    }));
  }
  // While the list is open, the game's windows take neither the focus nor a press.
  const others = [$("Form1"), $("Form2")];
  function show(open) {
    panel.hidden = !open;
    for (const window of others) window.inert = open;
  }
  function close() {
    show(false);
    backToGame();
  }

  $("m_found_endings").addEventListener("click", () => {
    leaveMenu();
    found.takeStored();
    showCount();
    fill();
    show(true);
    $("endings_close").focus();
    announce(`${$("found_count").textContent}`);
  });
  $("endings_close").addEventListener("click", close);
  panel.querySelector(".close-box").addEventListener("click", close);
  // Escape closes it; Tab goes round its own two stops, the list and «Закрыть».
  const stops = [$("endings_list"), $("endings_close")];
  panel.addEventListener("keydown", (e) => {
    if (e.key === "Escape") {
      close();
    } else if (e.key === "Tab") {
      const at = stops.indexOf(document.activeElement);
      stops[(at + (e.shiftKey ? stops.length - 1 : 1)) % stops.length].focus();
    } else {
      return;
    }
    e.preventDefault();
  });
  $("m_forget_endings").addEventListener("click", () => {
    leaveMenu();
    if (!confirm("Забыть все найденные концовки? Счёт начнётся с нуля.")) {
      backToGame();
      return;
    }
    found.forget();
    showCount();
    if (!panel.hidden) fill();
    backToGame();
  });
  showCount();

  return {
    isOpen: () => !panel.hidden,
    hide() { show(false); },
    // The ending the game has reached, if any: counted once, in every tab.
    note(name) {
      if (name === "" || found.has(name)) return;
      found.add(name);
      showCount();
      if (!panel.hidden) fill();
    },
  };
}
