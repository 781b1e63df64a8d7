// The game's keys: the menus' accelerators, an option's letter, and the arrows between
// the options' buttons.
import { $ } from "./elements.js";
import { buttons } from "./scene.js";

export function gameKeys(engine, { menus, dialog, endings }) {
  const form1 = $("Form1");
  document.addEventListener("keydown", (e) => {
    // An open menu or the list of endings keeps the keys to itself.
    if (form1.hidden || menus.isOpen() || endings.isOpen()) return;
    if ((e.altKey && (e.code === "KeyA" || e.key.toLowerCase() === "ф")) || e.key === "F10") {
      e.preventDefault();
      menus.open(0);
      return;
    }
    if (e.altKey && (e.code === "KeyR" || e.key.toLowerCase() === "к")) {
      e.preventDefault();
      menus.open(1);
      return;
    }
    if (e.ctrlKey || e.altKey || e.metaKey || dialog.holds(document.activeElement)) return;
    const option = engine.optionForKey(e.key);
    if (option !== 0) {
      e.preventDefault();
      if (!buttons[option - 1].hidden) buttons[option - 1].click();
      return;
    }
    const from = buttons.indexOf(document.activeElement);
    const direction = ["ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown"].indexOf(e.key);
    if (from < 0 || direction < 0) return;
    e.preventDefault();
    const beside = engine.optionBeside(from + 1, direction);
    if (beside !== 0 && !buttons[beside - 1].hidden) buttons[beside - 1].focus();
  });
}
