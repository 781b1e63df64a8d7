// Work that can wait runs once the scene is on screen: before the first paint has reached
// the screen it would take the processor from the drawing.
const FALLBACK_MS = 100;  // the first paint is not reported, e.g. for a tab opened hidden

const firstPaint = new Promise((resolve) => {
  new PerformanceObserver((entries, observer) => {
    if (entries.getEntriesByName("first-contentful-paint").length === 0) return;
    observer.disconnect();
    resolve();
  }).observe({ type: "paint", buffered: true });
  requestAnimationFrame(() => setTimeout(resolve, FALLBACK_MS));
});

// Runs work in a task of its own once the next frame is drawn and the first one shown.
export function afterPaint(work) {
  requestAnimationFrame(() => firstPaint.then(() => setTimeout(work)));
}
