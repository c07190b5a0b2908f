// The self-running gift (tests/publish writes the sample quiz's page and movie into test-movies/html):
// opened as a file:// page with no server, it must paint the first card, follow a link to the next card
// and ask the network for nothing. Each card is compared with the same movie in the harness's player.
import { describe, it } from "node:test";
import { chromium } from "playwright-core";
import assert from "node:assert/strict";
import { statSync } from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { decodePng } from "./lib/png.mjs";
import { shared } from "./shared.mjs";

const folder = () => path.join(shared.moviesRoot, "html");
const STAGE = { width: 640, height: 480 };
const JUPITER = [20 + 75 + 30, 480 - 60 + 15]; // the first card's second link button

// Share of pixels whose colour differs clearly between two RGBA images of the stage's size.
function difference(a, b) {
  let differing = 0;
  for (let i = 0; i < a.length; i += 4) {
    const d = Math.max(Math.abs(a[i] - b[i]), Math.abs(a[i + 1] - b[i + 1]), Math.abs(a[i + 2] - b[i + 2]));
    if (d > 16) differing++;
  }
  return differing / (a.length / 4);
}

async function stageOf(page) {
  return decodePng(await page.screenshot({ clip: { x: 0, y: 0, ...STAGE }, animations: "allow" })).rgba;
}

// Polls the page until it shows `expected`; the time it took, or null.
async function waitForImage(page, expected, timeout) {
  const start = Date.now();
  while (Date.now() - start < timeout) {
    if (difference(await stageOf(page), expected) < 0.01) return Date.now() - start;
    await new Promise((resolve) => setTimeout(resolve, 40));
  }
  return null;
}

describe("self-running gift", () => {
  it("plays the sample quiz from disk with no server and no network", async (t) => {
    const html = path.join(folder(), "quiz.html");
    assert.ok(statSync(html).size < 8_000_000, `the page is ${statSync(html).size} bytes`);

    // What the two cards look like in the harness's player.
    const ref = shared.player;
    await ref.load(path.join(folder(), "quiz.swf"));
    await new Promise((resolve) => setTimeout(resolve, 300));
    const first = (await ref.capture(0, 0, STAGE.width, STAGE.height)).rgba;
    await ref.click(...JUPITER);
    await new Promise((resolve) => setTimeout(resolve, 300));
    const second = (await ref.capture(0, 0, STAGE.width, STAGE.height)).rgba;
    assert.ok(difference(first, second) > 0.05, "the reference cards do not differ");

    // A browser of its own, started as a user would start one (the sandbox is off only because tests
    // run as root): the harness's page closes any other page of its context.
    const browser = await chromium.launch({
      executablePath: process.env.CW_CHROMIUM ?? "/usr/bin/chromium",
      headless: true,
      chromiumSandbox: false,
    });
    const page = await browser.newPage({ viewport: STAGE, deviceScaleFactor: 1 });
    const network = [];
    const errors = [];
    page.on("request", (r) => {
      if (!/^(file|data|blob):/.test(r.url())) network.push(r.url());
    });
    page.on("pageerror", (e) => errors.push(e.message));
    try {
      const opened = Date.now();
      await page.goto(pathToFileURL(html).href);
      const painted = await waitForImage(page, first, 30000);
      assert.ok(painted !== null, "the first card never showed");
      t.diagnostic(`first card painted ${Date.now() - opened} ms after opening the page`);

      await page.mouse.click(...JUPITER);
      assert.ok((await waitForImage(page, second, 5000)) !== null, "the link did not lead to the next card");
      assert.deepEqual(network, [], "the page asked the network");
      assert.deepEqual(errors, []);
    } finally {
      await browser.close();
    }
  });
});
