// A tiny HTTP server on 127.0.0.1 (a random free port) for the player page: Ruffle's files, the test
// movies folder, and movies handed over as bytes. Chromium refuses Ruffle's wasm fetch from file://.
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
export const ruffleDir = path.resolve(here, "../node_modules/@ruffle-rs/ruffle");

const types = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".wasm": "application/wasm",
  ".swf": "application/x-shockwave-flash",
  ".map": "application/json",
};

// Ruffle is configured before ruffle.js loads; the default renderer on a software GPU opens a box on
// the first mouse-over that swallows clicks, hence the explicit renderer.
export function pageHtml(renderer) {
  const config = {
    publicPath: "/ruffle/",
    polyfills: false,
    autoplay: "on",
    unmuteOverlay: "hidden",
    splashScreen: false,
    contextMenu: "off",
    logLevel: "info",
    preferredRenderer: renderer,
    letterbox: "off",
  };
  return `<!doctype html>
<html><head><meta charset="utf-8"><title>Cardwright player</title>
<style>html,body{margin:0;padding:0;background:#7f7f7f;overflow:hidden}
#stage{position:absolute;left:0;top:0}ruffle-player{display:block}</style>
<script>window.RufflePlayer = window.RufflePlayer || {}; window.RufflePlayer.config = ${JSON.stringify(config)};</script>
<script src="/ruffle/ruffle.js"></script>
</head><body><div id="stage"></div></body></html>`;
}

function inside(root, relative) {
  const resolved = path.resolve(root, "." + path.posix.normalize("/" + relative));
  return resolved.startsWith(path.resolve(root) + path.sep) ? resolved : null;
}

export async function startServer({ moviesDir, renderer = "webgl" }) {
  const memory = new Map();
  const server = createServer(async (req, res) => {
    const url = new URL(req.url, "http://127.0.0.1");
    const name = decodeURIComponent(url.pathname);
    try {
      let body;
      let file = name;
      if (name === "/") {
        body = Buffer.from(pageHtml(renderer));
        file = "index.html";
      } else if (name.startsWith("/mem/") && memory.has(name)) {
        body = memory.get(name);
      } else if (name.startsWith("/ruffle/")) {
        const p = inside(ruffleDir, name.slice("/ruffle/".length));
        if (p) body = await readFile(p);
      } else if (name.startsWith("/movies/") && moviesDir) {
        const p = inside(moviesDir, name.slice("/movies/".length));
        if (p) body = await readFile(p);
      }
      if (!body) throw Object.assign(new Error("not found"), { code: "ENOENT" });
      res.writeHead(200, {
        "Content-Type": types[path.extname(file)] ?? "application/octet-stream",
        "Content-Length": body.length,
        "Cache-Control": "no-store",
      });
      res.end(body);
    } catch (e) {
      res.writeHead(e.code === "ENOENT" ? 404 : 500, { "Content-Type": "text/plain" });
      res.end(String(e.message));
    }
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const base = `http://127.0.0.1:${server.address().port}`;
  let counter = 0;
  return {
    base,
    // Serves the bytes under a fresh URL in the /mem/ folder and returns the URL.
    serveBytes(bytes, name = "movie.swf") {
      const key = `/mem/${++counter}/${name}`;
      memory.set(key, Buffer.from(bytes));
      return base + key;
    },
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}
