// The site's service worker: keeps every file of its build in a cache of that build's own
// and serves the game from there, with a network or without. A newer build's worker fills
// its own cache first, each file checked against that build's copy, so a page and its files
// always come from one build.
const BUILD = "/*BUILD*/";
// [path, SHA-256] of every file of the build but this one.
const FILES = /*FILES*/;
const CACHE = `sessiya-${BUILD}`;
const PAGE = new URL("index.html", registration.scope).href;

addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    try {
      await Promise.all(FILES.map(async ([path, integrity]) => {
        // Past the browser's HTTP cache, which may still hold the previous build's copy.
        const response = await fetch(new Request(path, { cache: "reload", integrity }));
        if (!response.ok) throw new Error(`${path}: ${response.status}`);
        await cache.put(path, response);
      }));
    } catch (error) {
      // A build only in part is no build: the next visit tries again.
      await caches.delete(CACHE);
      throw error;
    }
  })());
});

addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith("sessiya-") && name !== CACHE) await caches.delete(name);
    }
  })());
});

// A page of the previous build hands over once this one is kept whole.
addEventListener("message", (event) => {
  if (event.data === "take over") skipWaiting();
});

addEventListener("fetch", (event) => {
  const { request } = event;
  // Only this origin's own files; anything else goes its own way.
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) return;
  const opening = request.mode === "navigate" && [registration.scope, PAGE].includes(request.url.split(/[?#]/)[0]);
  event.respondWith((async () => {
    const kept = await caches.open(CACHE).then((cache) => cache.match(opening ? PAGE : request));
    return kept ?? fetch(request);
  })());
});
