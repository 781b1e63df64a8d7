// The endings found: their count in the menu's title, and the window that lists them,
// with a hint in place of each one not found yet.
import { $ } from "./elements.js";
import { scenePictures } from "./assets.js";
import { endingsStore } from "./endings_store.js";
import { pictureOf } from "./pictures.js";
import { announce } from "./spoken.js";

function noticeBefore(sibling, tag, id) {
  const notice = document.createElement(tag);
  notice.id = id;
  notice.hidden = true;
  sibling.before(notice);
  return notice;
}

// leaveMenu: closes the menu an item was chosen in; backToGame: the keys go back to the game.
export function endingsWindow(engine, { leaveMenu, backToGame }) {
  const ENDINGS = engine.endings();
  const panel = $("endings");
  // Why the endings found are not kept, where the player looks: atop the menu, under the count.
  const menuNotice = noticeBefore($("m_found_endings"), "button", "m_endings_notice");
  menuNotice.disabled = true;
  menuNotice.setAttribute("role", "menuitem");
  const listNotice = noticeBefore($("all_found"), "p", "endings_notice");
  // The record is read once the game is on screen, or on the first need before that.
  let store = null;
  const found = () => store ?? (store = endingsStore(engine, refresh));

  function count() {
    const unsaved = found().unsaved > 0 ? ` (не сохранено: ${found().unsaved})` : "";
    return `${found().size} из ${ENDINGS.length}${unsaved}`;
  }
  function showCount() {
    $("m_endings").innerHTML = `<u>К</u>онцовки: ${count()}`;
    menuNotice.textContent = found().notice;
    menuNotice.hidden = found().notice === "";
  }
  function fill() {
    $("found_count").textContent = `Найдено: ${count()}`;
    listNotice.textContent = found().notice;
    listNotice.hidden = found().notice === "";
    $("all_found").hidden = found().size !== ENDINGS.length;
    $("endings_list").replaceChildren(...ENDINGS.map((ending) => {
      const row = document.createElement("li");
      row.tabIndex = -1;
      const thumbnail = document.createElement("span");
      thumbnail.className = "thumbnail";
      const words = document.createElement("span");
      if (found().has(ending.name)) {
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
  function refresh() {
    showCount();
    if (!panel.hidden) fill();
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
    found().takeStored();
    showCount();
    fill();
    show(true);
    $("endings_close").focus();
    announce(`${$("found_count").textContent} ${found().notice}`.trim());
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
    found().forget();
    refresh();
    backToGame();
  });

  return {
    readRecord: showCount,
    isOpen: () => !panel.hidden,
    hide() { show(false); },
    // The ending the game has reached, if any: counted once, in every tab.
    note(name) {
      if (name === "" || found().has(name)) return;
      found().add(name);
      refresh();
    },
  };
}
