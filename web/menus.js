// The menus "Файл" and "Концовки": opened by their titles or keys, walked with the arrows.
import { $ } from "./elements.js";

// closed: a menu closed by the player's own key or click, the keys go back to the game.
export function menuBar(closed) {
  const menus = ["m_file", "m_endings"].map((id) => ({
    title: $(id),
    list: $(`${id}_menu`),
    items: [...$(`${id}_menu`).querySelectorAll("button")],
  }));
  const openMenuOf = () => menus.find((menu) => !menu.list.hidden);
  function open(menu) {
    close(false);
    menu.list.style.left = `${menu.title.offsetLeft}px`;
    menu.list.hidden = false;
    menu.title.setAttribute("aria-expanded", "true");
    menu.items[0].focus();
  }
  function close(refocus) {
    const menu = openMenuOf();
    if (menu === undefined) return;
    menu.list.hidden = true;
    menu.title.setAttribute("aria-expanded", "false");
    if (refocus) closed();
  }
  for (const menu of menus) {
    menu.title.addEventListener("click", () => (menu.list.hidden ? open(menu) : close(true)));
    menu.list.addEventListener("keydown", (e) => {
      const at = menu.items.indexOf(document.activeElement);
      if (e.key === "ArrowDown" || e.key === "ArrowUp") {
        const step = e.key === "ArrowDown" ? 1 : menu.items.length - 1;
        menu.items[(at + step) % menu.items.length].focus();
      } else if (e.key === "ArrowLeft" || e.key === "ArrowRight") {
        open(menus[(menus.indexOf(menu) + 1) % menus.length]);
      } else if (e.key === "Escape" || e.key === "Tab") {
        close(true);
      } else {
        return;
      }
      e.preventDefault();
      e.stopPropagation();
    });
  }
  document.addEventListener("pointerdown", (e) => {
    const menu = openMenuOf();
    if (menu && !menu.list.contains(e.target) && e.target !== menu.title) close(false);
  });

  return {
    open: (index) => open(menus[index]),
    close,
    isOpen: () => openMenuOf() !== undefined,
  };
}
