// The site's offline copy: its service worker keeps every file of this build. A newer build,
// once its worker has kept all of it, takes over at once and the page reloads into it; the
// attempt (kept for the tab across a reload) and the endings found stay as they were.
import { afterPaint } from "./after_paint.js";
import { assets } from "./assets.js";

export function offlineCopy() {
  // The one-file page has no worker: it is its own offline copy.
  if (assets.worker === undefined || !("serviceWorker" in navigator)) return;
  const workers = navigator.serviceWorker;
  const takeOver = (worker) => { if (workers.controller !== null) worker.postMessage("take over"); };
  workers.addEventListener("controllerchange", () => location.reload());
  // Once the scene is on screen: its files come first.
  afterPaint(async () => {
    try {
      const registration = await workers.register(assets.worker);
      if (registration.waiting !== null) takeOver(registration.waiting);
      registration.addEventListener("updatefound", () => {
        const worker = registration.installing;
        worker.addEventListener("statechange", () => {
          if (worker.state === "installed") takeOver(worker);
        });
      });
    } catch (error) {
      // No worker (a private window, storage refused): the game plays on, online only.
      console.error(`sessiya: no offline copy: ${error.message}`);
    }
  });
}
