// A small static host on 127.0.0.1 for the site's tests and benchmark: serves a folder as
// a static host or CDN does (types by name, text gzipped when the browser takes it, every
// file kept for ten minutes by the browser's cache), and stops itself after `lifetime`.
// root may be changed while it runs (a new build put in place); `delay(path)` holds a
// response back by that many milliseconds, `stall(path, body)` → [at, ms] sends the body's
// first `at` bytes and the rest `ms` later; while `down` is set, every connection is cut.
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize } from "node:path";
import { gzipSync } from "node:zlib";

const TYPES = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
  ".webmanifest": "application/manifest+json", ".json": "application/json",
  ".jpg": "image/jpeg", ".gif": "image/gif", ".png": "image/png", ".svg": "image/svg+xml",
  ".woff2": "font/woff2",
};
const COMPRESSED = [".html", ".js", ".webmanifest", ".json", ".svg"];

export async function staticServer({ root, delay = () => 0, stall = () => null, gzip = true,
                                     lifetime = 600_000 }) {
  const host = { root, delay, gzip, down: false, requests: [] };
  const server = createServer(async (request, response) => {
    if (host.down) {
      request.socket.destroy();
      return;
    }
    const path = decodeURIComponent(new URL(request.url, "http://host").pathname);
    host.requests.push(path);
    const file = normalize(join(host.root, path.endsWith("/") ? `${path}index.html` : path));
    let body;
    try {
      if (!file.startsWith(normalize(host.root))) throw new Error("outside the site");
      body = await readFile(file);
    } catch {
      response.writeHead(404).end();
      return;
    }
    const wait = host.delay(path);
    if (wait > 0) await new Promise((resolve) => setTimeout(resolve, wait));
    const headers = {
      "Content-Type": TYPES[extname(file)] ?? "application/octet-stream",
      "Cache-Control": "max-age=600",
    };
    if (host.gzip && COMPRESSED.includes(extname(file)) && /\bgzip\b/.test(request.headers["accept-encoding"] ?? "")) {
      body = gzipSync(body);
      headers["Content-Encoding"] = "gzip";
    }
    const [at, ms] = stall(path, body) ?? [body.length, 0];
    response.writeHead(200, headers).write(body.subarray(0, at));
    if (ms > 0) await new Promise((resolve) => setTimeout(resolve, ms));
    response.end(body.subarray(at));
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const timer = setTimeout(() => host.close(), lifetime);
  timer.unref();
  host.url = `http://127.0.0.1:${server.address().port}/`;
  host.close = () => new Promise((resolve) => {
    clearTimeout(timer);
    server.closeAllConnections();
    server.close(resolve);
  });
  return host;
}
