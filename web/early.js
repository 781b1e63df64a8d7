// Run as the page's head is read: both faces of the font start loading here, so the first
// scene, drawn once the script below is reached, waits for neither.
document.fonts.load('11px "Sessiya Sans"');
document.fonts.load('bold 11px "Sessiya Sans"');

// The opening scene is written into the page and shows before the game has started. A tab
// coming back to an attempt of its own shows nothing until that attempt's scene is drawn.
// The first press on an option or a menu before the start is kept, shown as taken, and made
// once the game has started; a press after it waits with it.
{
  const root = document.documentElement;
  root.classList.add("starting");
  try {
    if (sessionStorage.getItem("sessiya.attempt") !== null) root.classList.add("resuming");
  } catch {
    // No storage: no attempt was kept.
  }
  document.addEventListener("click", (event) => {
    const control = event.target.closest?.("#Form1 button");
    if (!root.classList.contains("starting") || !control) return;
    event.stopImmediatePropagation();
    if (root.dataset.pressed !== undefined) return;
    root.dataset.pressed = control.id;
    control.classList.add("taken");
    root.classList.add("waiting");
  }, true);
}
