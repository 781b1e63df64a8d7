// The attempt in progress, kept for this tab alone: a phone that discards a tab in the
// background reloads it on return, and the player finds the scene and the dialog as they
// were. A new tab starts a new attempt.
import { afterPaint } from "./after_paint.js";

const KEY = "sessiya.attempt";

// Whether this load comes back to the tab's own page rather than opening it anew.
function comingBack() {
  const [entry] = performance.getEntriesByType("navigation");
  return document.wasDiscarded === true || ["reload", "back_forward"].includes(entry?.type);
}

export function attemptStore() {
  let pending = null;
  function write() {
    if (pending === null) return;
    const state = pending();
    pending = null;
    try {
      sessionStorage.setItem(KEY, JSON.stringify(state));
    } catch {
      // No room or no storage: the attempt simply is not kept.
    }
  }
  addEventListener("pagehide", write);
  document.addEventListener("visibilitychange", write);

  // The snapshot the engine wrote and the dialog's state: {snapshot, dialog}, or null.
  let kept = null;
  if (comingBack()) {
    try {
      kept = JSON.parse(sessionStorage.getItem(KEY));
    } catch {
      kept = null;
    }
  }
  return {
    // What there is to come back to, once: a later start is a new game.
    take() {
      const taken = kept;
      kept = null;
      return taken;
    },
    // state(): {snapshot, dialog} as they are when written: once the next frame is drawn, so
    // a move's storage write never holds up its scene, or as the tab is hidden or left.
    keep(state) {
      if (pending === null) afterPaint(write);
      pending = state;
    },
  };
}
