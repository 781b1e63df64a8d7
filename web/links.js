// The contact links' colours: whatever lies under the mouse repaints them, by the
// desktop window's scheme (the bare window turns only the mail link red again).
import { $ } from "./elements.js";

export function contactLinks(engine) {
  const central = $("centralwidget");
  const links = { mail: $("Label7"), website: $("Label9") };
  const HOVER = [
    () => {},
    () => links.mail.classList.add("hover"),
    () => links.website.classList.add("hover"),
    () => { links.mail.classList.remove("hover"); links.website.classList.remove("hover"); },
    () => links.mail.classList.remove("hover"),
  ];
  central.addEventListener("mousemove", (e) => {
    HOVER[engine.linkHoverOver(e.target === central ? "" : e.target.closest("[id]").id)]();
  });
  // A double-click opens the link once.
  for (const link of Object.values(links)) {
    link.addEventListener("click", (e) => { if (e.detail > 1) e.preventDefault(); });
  }

  return {
    reset() {
      for (const link of Object.values(links)) link.classList.remove("hover");
    },
  };
}
