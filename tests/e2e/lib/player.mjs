// Drives Ruffle in Debian's headless Chromium: one browser, one page and one player for the whole run;
// every movie is loaded into the same player (a fresh page costs seconds compiling the wasm).
import { chromium } from "playwright-core";
import { mkdtemp, readFile, rm } from "node:fs/promises";
import { inflateSync } from "node:zlib";
import os from "node:os";
import path from "node:path";
import { startServer } from "./server.mjs";
import { decodePng } from "./png.mjs";

const chromiumArgs = [
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

// The stage size in pixels from a movie's header (FWS or CWS).
export function stageSize(bytes) {
  const sig = bytes.toString("latin1", 0, 3);
  let body;
  if (sig === "FWS") body = bytes.subarray(8);
  else if (sig === "CWS") body = inflateSync(bytes.subarray(8), { finishFlush: 2 });
  else throw new Error(`not a movie: signature ${JSON.stringify(sig)}`);
  let bit = 0;
  const read = (n) => {
    let v = 0;
    for (let i = 0; i < n; ++i, ++bit) v = (v << 1) | ((body[bit >> 3] >> (7 - (bit & 7))) & 1);
    return v;
  };
  const signed = (n) => {
    const v = read(n);
    return n > 0 && v & (1 << (n - 1)) ? v - (1 << n) : v;
  };
  const n = read(5);
  const [xmin, xmax, ymin, ymax] = [signed(n), signed(n), signed(n), signed(n)];
  return { width: Math.round((xmax - xmin) / 20), height: Math.round((ymax - ymin) / 20) };
}

export function sameColor(actual, expected, tolerance = 8) {
  return expected.every((v, i) => Math.abs(actual[i] - v) <= tolerance);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export class Player {
  static async open({ moviesDir, renderer = "webgl" } = {}) {
    const player = new Player();
    player.server = await startServer({ moviesDir, renderer });
    player.profile = await mkdtemp(path.join(os.tmpdir(), "cw-e2e-chromium-"));
    player.context = await chromium.launchPersistentContext(player.profile, {
      executablePath: process.env.CW_CHROMIUM ?? "/usr/bin/chromium",
      headless: true,
      chromiumSandbox: false,
      args: chromiumArgs,
      viewport: { width: 800, height: 600 },
      deviceScaleFactor: 1,
    });
    player.page = player.context.pages()[0] ?? (await player.context.newPage());
    player.opened = [];
    player.traces = [];
    player.errors = [];
    player.warnings = [];
    player.log = [];
    await player.page.exposeFunction("cwTrace", (message) => player.traces.push(String(message)));
    await player.page.exposeFunction("cwOpen", (url, target) => player.opened.push({ url, target }));
    // getURL with a window target reaches window.open; record it instead of opening a page.
    await player.page.addInitScript(() => {
      window.open = (url, target) => {
        window.cwOpen(String(url), String(target ?? ""));
        return null;
      };
    });
    player.page.on("console", (msg) => {
      const line = `[${msg.type()}] ${msg.text()}`;
      player.log.push(line);
      // Ruffle logs through console.log with its level first: "%cERROR%c core/src/...".
      const level = /^%c(ERROR|WARN|INFO|DEBUG|TRACE)%c/.exec(msg.text())?.[1];
      if (msg.type() === "error" || level === "ERROR" || /panicked/.test(msg.text())) player.errors.push(line);
      else if (level === "WARN") player.warnings.push(line);
    });
    player.page.on("pageerror", (err) => player.errors.push(`[pageerror] ${err.message}`));
    // A page the movie opens in spite of the window.open hook is recorded and closed.
    player.context.on("page", async (popup) => {
      player.opened.push({ url: popup.url(), target: "popup" });
      await popup.close().catch(() => {});
    });
    await player.page.goto(player.server.base + "/");
    await player.page.waitForFunction(() => window.RufflePlayer?.newest?.() != null, null, { timeout: 30000 });
    return player;
  }

  async close() {
    await this.context?.close().catch(() => {});
    await this.server?.close();
    if (this.profile) await rm(this.profile, { recursive: true, force: true });
  }

  // Loads a movie (a Buffer of bytes, or the path of a file) into the player sized to its stage and
  // waits until it runs. Clears the recorded traces, URLs and errors. `parameters` become _root vars.
  async load(source, { parameters = {} } = {}) {
    const bytes = Buffer.isBuffer(source) ? source : await readFile(source);
    const name = Buffer.isBuffer(source) ? "movie.swf" : path.basename(source);
    const url = this.server.serveBytes(bytes, name);
    this.stage = stageSize(bytes);
    const viewport = { width: Math.max(800, this.stage.width), height: Math.max(600, this.stage.height) };
    await this.page.setViewportSize(viewport);
    this.traces.length = 0;
    this.opened.length = 0;
    this.errors.length = 0;
    this.warnings.length = 0;
    this.log.length = 0;
    await this.page.evaluate(
      async ({ url, width, height, parameters }) => {
        let el = window.cwPlayer;
        if (!el) {
          el = window.RufflePlayer.newest().createPlayer();
          document.getElementById("stage").appendChild(el);
          window.cwPlayer = el;
        }
        el.style.width = `${width}px`;
        el.style.height = `${height}px`;
        const api = el.ruffle();
        await api.load({ url, parameters });
        api.traceObserver = (message) => window.cwTrace(message);
      },
      { url, ...this.stage, parameters },
    );
    await this.waitRunning();
  }

  // Waits until the movie's header is read and a few frames have been painted.
  async waitRunning(timeout = 10000) {
    await this.page.waitForFunction(() => window.cwPlayer.ruffle().readyState === 2, null, { timeout });
    await this.page.evaluate(
      () => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))),
    );
  }

  // Page coordinates of a stage point (the player sits at the page's top-left corner, scale 1).
  async #pagePoint(x, y) {
    const box = await this.page.locator("ruffle-player").boundingBox();
    return { x: box.x + x, y: box.y + y };
  }

  // The RGBA pixels of a stage rectangle as painted on screen.
  async capture(x, y, width = 1, height = 1) {
    const p = await this.#pagePoint(x, y);
    const png = await this.page.screenshot({ clip: { x: p.x, y: p.y, width, height }, animations: "allow" });
    return decodePng(png);
  }

  async pixel(x, y) {
    const { rgba } = await this.capture(x, y);
    return [rgba[0], rgba[1], rgba[2]];
  }

  // Polls until the stage point shows the expected colour; returns the last colour seen either way.
  async waitForPixel(x, y, expected, { timeout = 4000, tolerance = 8 } = {}) {
    const end = Date.now() + timeout;
    let seen;
    do {
      seen = await this.pixel(x, y);
      if (sameColor(seen, expected, tolerance)) return seen;
      await sleep(50);
    } while (Date.now() < end);
    return seen;
  }

  // Which pixels of a stage rectangle differ clearly from the background colour ("ink"), row by row.
  async ink(x, y, width, height, background = [255, 255, 255], threshold = 96) {
    const { rgba } = await this.capture(x, y, width, height);
    const mask = [];
    for (let i = 0; i < width * height; ++i) {
      const distance = [0, 1, 2].reduce((sum, c) => sum + Math.abs(rgba[i * 4 + c] - background[c]), 0);
      mask.push(distance > threshold);
    }
    return { mask, count: mask.filter(Boolean).length };
  }

  async click(x, y) {
    const p = await this.#pagePoint(x, y);
    await this.page.mouse.move(p.x, p.y);
    await this.page.mouse.down();
    await this.page.mouse.up();
  }

  // Polls a condition on the recorded state (traces, URLs) with a few seconds' timeout.
  async waitFor(predicate, { timeout = 4000 } = {}) {
    const end = Date.now() + timeout;
    while (!predicate()) {
      if (Date.now() > end) return false;
      await sleep(50);
    }
    return true;
  }

  async waitForTrace(text, options) {
    return this.waitFor(() => this.traces.includes(text), options);
  }

  async waitForUrl(url, options) {
    return this.waitFor(() => this.opened.some((o) => o.url === url), options);
  }

  // Whether Ruffle has shown its panic screen.
  async panicked() {
    return this.page.evaluate(() => {
      const root = window.cwPlayer?.shadowRoot;
      const panic = root?.querySelector("#panic");
      return panic != null && !panic.classList.contains("hidden") && panic.textContent.trim() !== "";
    });
  }

  // Ruffle's errors, warnings and panics since the last load, as lines.
  async problems() {
    const lines = [...this.errors, ...this.warnings];
    if (await this.panicked()) lines.push("Ruffle panicked");
    return lines;
  }
}
