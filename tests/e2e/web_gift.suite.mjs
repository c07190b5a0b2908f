// The gift as a web page (tests/web writes each page beside its movie into test-movies/web): played from
// disk in Chromium, it must do what the movie does in Ruffle, click for click (cards reached, e-mail alert
// URLs), look like it card for card, pass axe-core, work from the keyboard alone and on a phone's
// screen, show hostile titles as text, and ask the network for nothing.
import { after, before, describe, it } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { chromium } from "playwright-core";
import { Firefox } from "./lib/firefox.mjs";
import { decodePng } from "./lib/png.mjs";
import { shared } from "./shared.mjs";

const require = createRequire(import.meta.url);
const AXE = readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");
const STAGE = { width: 640, height: 480 };
const file = (name) => path.join(shared.moviesRoot, "web", name);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The sample quiz's path through all five cards: Jupiter, Eight, Result (full marks), Play again, Mars,
// Six, Result (nearly there). Each step is the 0-based button on the card showing.
const QUIZ_PATH = [1, 1, 0, 0, 0, 0, 0];

// Share of pixels whose colour differs clearly (by more than 16 in a channel) between two RGBA images.
function difference(a, b) {
  let differing = 0;
  for (let i = 0; i < a.length; i += 4) {
    const d = Math.max(Math.abs(a[i] - b[i]), Math.abs(a[i + 1] - b[i + 1]), Math.abs(a[i + 2] - b[i + 2]));
    if (d > 16) differing++;
  }
  return differing / (a.length / 4);
}

let browser;

// Opens a page of test-movies/web in a fresh page of its own, recording every request that is not the
// page itself or a data: URL, script errors, and the windows the page opens (instead of opening them).
async function openPage(name, { viewport = STAGE, hasTouch = false, clock = false } = {}) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: 1, hasTouch });
  const page = await context.newPage();
  if (clock) await page.clock.install();
  const url = pathToFileURL(file(name)).href;
  const requests = [];
  const errors = [];
  page.on("request", (r) => {
    if (r.url() !== url && !r.url().startsWith("data:")) requests.push(r.url());
  });
  page.on("pageerror", (e) => errors.push(e.message));
  page.on("console", (m) => {
    if (m.type() === "error" || m.type() === "warning") errors.push(m.text());
  });
  context.on("page", (popup) => requests.push(`popup ${popup.url()}`));
  await page.addInitScript(() => {
    window.cwOpened = [];
    window.open = (url, target) => {
      window.cwOpened.push({ url: String(url), target: String(target) });
      return null;
    };
  });
  await page.goto(url);
  await page.evaluate(() => document.fonts.ready);
  return { page, context, requests, errors };
}

const currentCard = (page) =>
  page.evaluate(() => Array.from(document.querySelectorAll(".card")).findIndex((c) => !c.hidden));
const opened = (page) => page.evaluate(() => window.cwOpened.map((o) => ({ ...o })));

// The centre of button `index` of the card showing, in stage pixels.
const buttonCentre = (page, index) =>
  page.evaluate((i) => {
    const card = Array.from(document.querySelectorAll(".card")).find((c) => !c.hidden);
    const stage = document.getElementById("stage").getBoundingClientRect();
    const r = card.querySelectorAll(".link")[i].getBoundingClientRect();
    return [Math.round(r.x - stage.x + r.width / 2), Math.round(r.y - stage.y + r.height / 2)];
  }, index);

async function stageImage(page) {
  return decodePng(await page.screenshot({ clip: { x: 0, y: 0, ...STAGE }, animations: "allow" })).rgba;
}

// Only glyph edges may differ: the browser and Ruffle rasterise the same outlines with their own
// anti-aliasing, and the browser's subpixel positions shift some edges by a pixel. That is under 3% of
// the stage on the quiz's cards (1.5% measured); a wrong card, a missing picture or a misplaced line of
// text is 5% or more.
const PICTURE_TOLERANCE = 0.03;

// Waits until Ruffle's stage looks like `expected` (a page's image of the same card); the difference.
async function rufflePicture(expected) {
  let d = 1;
  for (let tries = 0; tries < 20; ++tries) {
    d = difference((await shared.player.capture(0, 0, STAGE.width, STAGE.height)).rgba, expected);
    if (d < PICTURE_TOLERANCE) break;
    await sleep(50);
  }
  return d;
}

// A generator of our own, so the clicks are the same on every run.
function seeded(seed) {
  let state = seed >>> 0;
  return (n) => {
    state = (Math.imul(state, 1664525) + 1013904223) >>> 0;
    return (state >>> 8) % n;
  };
}

describe("web page gift", () => {
  before(async () => {
    browser = await chromium.launch({
      executablePath: process.env.CW_CHROMIUM ?? "/usr/bin/chromium",
      headless: true,
      chromiumSandbox: false,
    });
  });
  after(async () => {
    await browser?.close();
  });

  // Follows `path` (buttons by index) in the page and in Ruffle, comparing each card's first frame.
  async function sideBySide(t, name, path) {
    const { page, context, requests, errors } = await openPage(`${name}.html`);
    await shared.player.load(file(`${name}.swf`));
    const differences = [];
    try {
      for (let step = 0; step <= path.length; ++step) {
        differences.push(await rufflePicture(await stageImage(page)));
        if (step === path.length) break;
        const [x, y] = await buttonCentre(page, path[step]);
        await page.mouse.click(x, y);
        await shared.player.click(x, y);
        await sleep(150);
      }
      t.diagnostic(`${name}: differing pixels per card ${differences.map((d) => (d * 100).toFixed(2) + "%").join(", ")}`);
      differences.forEach((d, i) =>
        assert.ok(d < PICTURE_TOLERANCE, `${name}: card at step ${i} differs in ${(d * 100).toFixed(2)}%`),
      );
      assert.deepEqual(requests, [], "the page asked the network");
      assert.deepEqual(errors, []);
      return { page, context };
    } catch (e) {
      await context.close();
      throw e;
    }
  }

  it("plays the sample quiz as the movie does, and looks like it card for card", async (t) => {
    const { page, context } = await sideBySide(t, "quiz", QUIZ_PATH);
    try {
      assert.equal(await currentCard(page), 4, "the path ends on the card for a lower score");
      assert.ok(await shared.player.waitFor(() => shared.player.opened.length === 1));
      assert.deepEqual(
        (await opened(page)).map((o) => [o.url, o.target]),
        shared.player.opened.map((o) => [o.url, o.target]),
      );
    } finally {
      await context.close();
    }
  });

  it("looks like the movie with pictures in every placement, a picture button and other scripts", async (t) => {
    const { context } = await sideBySide(t, "pictures", [0, 0, 0, 0, 0, 0]);
    await context.close();
  });

  it("reaches the same cards and opens the same alerts as the movie in seeded projects", async (t) => {
    let alerts = 0;
    for (const seed of [1, 2, 3, 4]) {
      const { page, context, requests, errors } = await openPage(`seeded${seed}.html`);
      await shared.player.load(file(`seeded${seed}.swf`));
      try {
        // The cards' colours tell which card Ruffle shows (each card has its own).
        const colours = await page.evaluate(() =>
          Array.from(document.querySelectorAll(".card")).map((c) =>
            getComputedStyle(c).backgroundColor.match(/\d+/g).slice(0, 3).map(Number),
          ),
        );
        const next = seeded(seed);
        const reached = [];
        for (let step = 0; ; ++step) {
          const card = await currentCard(page);
          const seen = await shared.player.waitForPixel(STAGE.width - 3, 3, colours[card], { tolerance: 2 });
          reached.push([card, colours.findIndex((c) => c.every((v, i) => Math.abs(v - seen[i]) <= 2))]);
          if (step === 25) break;
          const buttons = await page.evaluate(
            () => Array.from(document.querySelectorAll(".card")).find((c) => !c.hidden).querySelectorAll(".link").length,
          );
          const [x, y] = await buttonCentre(page, next(buttons));
          await page.mouse.click(x, y);
          await shared.player.click(x, y);
        }
        const pageUrls = (await opened(page)).map((o) => [o.url, o.target]);
        await shared.player.waitFor(() => shared.player.opened.length >= pageUrls.length);
        await sleep(200);
        assert.deepEqual(
          reached.map(([pageCard]) => pageCard),
          reached.map(([, movieCard]) => movieCard),
          `seed ${seed}: cards reached (page, movie)`,
        );
        // Every card has an alert: one on opening and one per change of card, none for a link to the
        // card showing or past the last card.
        const changes = reached.filter(([card], i) => i > 0 && card !== reached[i - 1][0]).length;
        assert.ok(pageUrls.length >= 1 && pageUrls.length <= changes + 1, `seed ${seed}: ${pageUrls.length} alerts`);
        alerts += pageUrls.length;
        assert.deepEqual(pageUrls, shared.player.opened.map((o) => [o.url, o.target]), `seed ${seed}: alert URLs`);
        assert.deepEqual(requests, []);
        assert.deepEqual(errors, []);
      } finally {
        await context.close();
      }
    }
    t.diagnostic(`${alerts} alerts compared`);
    assert.ok(alerts >= 30, `only ${alerts} alerts compared`);
  });

  it("has no axe-core violations on any card of the sample quiz (colour contrast excepted)", async () => {
    const { page, context } = await openPage("quiz.html");
    try {
      await page.evaluate(AXE);
      for (let step = 0; step <= QUIZ_PATH.length; ++step) {
        const result = await page.evaluate(() =>
          window.axe.run(document, { rules: { "color-contrast": { enabled: false } } }),
        );
        const violations = result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(" ")}`);
        assert.deepEqual(violations, [], `card ${await currentCard(page)}`);
        if (step < QUIZ_PATH.length) await page.click(`.card:not([hidden]) .link >> nth=${QUIZ_PATH[step]}`);
      }
    } finally {
      await context.close();
    }
  });

  it("completes the quiz with the keyboard alone, the focus always inside the card showing", async () => {
    const { page, context } = await openPage("quiz.html");
    try {
      // Tab to the button wanted, press Enter or Space, and the focus must be in the new card.
      const keys = [
        ["Tab", "Tab", "Enter"], // Jupiter
        ["Tab", "Tab", " "], // Eight
        ["Tab", "Enter"], // Result
      ];
      for (const sequence of keys) {
        for (const key of sequence) await page.keyboard.press(key === " " ? "Space" : key);
        const focus = await page.evaluate(() => {
          const card = document.activeElement.closest(".card");
          return card && !card.hidden ? card.querySelector("h1").textContent : null;
        });
        assert.ok(focus, "the focus is inside the card showing");
      }
      assert.equal((await page.textContent(".card:not([hidden]) h1")).trim(), "Full marks!");
      await page.keyboard.press("Tab");
      const focused = await page.evaluate(() => [
        document.activeElement.textContent,
        getComputedStyle(document.activeElement).outlineStyle,
      ]);
      assert.deepEqual(focused, ["Play again", "solid"], "the focus is visible");
    } finally {
      await context.close();
    }
  });

  it("fits a 360 x 640 phone screen with every button on it, and a tap moves on", async () => {
    const { page, context } = await openPage("quiz.html", { viewport: { width: 360, height: 640 }, hasTouch: true });
    try {
      const fit = await page.evaluate(() => ({
        scroll: document.documentElement.scrollWidth,
        rects: Array.from(document.querySelectorAll(".card:not([hidden]) .link, #stage")).map((e) => {
          const r = e.getBoundingClientRect();
          return [r.left, r.top, r.right, r.bottom];
        }),
      }));
      assert.ok(fit.scroll <= 360, `the page scrolls sideways (${fit.scroll})`);
      for (const [l, t, r, b] of fit.rects) assert.ok(l >= 0 && t >= 0 && r <= 360.5 && b <= 640.5, `${[l, t, r, b]}`);
      await page.tap(".card:not([hidden]) .link >> nth=1");
      assert.equal(await currentCard(page), 1);
    } finally {
      await context.close();
    }
  });

  it("runs the slide show at its interval, round and round, until a link is pressed", async () => {
    const { page, context, errors } = await openPage("slides.html", { clock: true });
    try {
      // Time is the page's fake clock, paused and then run on in steps of 100 ms: the cards must change
      // every 2 s exactly (20 steps), in order and round again.
      await page.clock.pauseAt((await page.evaluate(() => Date.now())) + 10);
      const changes = [];
      let shown = await currentCard(page);
      for (let step = 1; step <= 90; ++step) {
        await page.clock.runFor(100);
        const card = await currentCard(page);
        if (card !== shown) changes.push([step, card]);
        shown = card;
      }
      assert.deepEqual(changes.map(([, card]) => card), [1, 2, 0, 1].slice(0, changes.length));
      assert.ok(changes.length >= 4, `${changes.length} changes`);
      changes.slice(1).forEach(([step], i) => assert.equal(step - changes[i][0], 20, `${JSON.stringify(changes)}`));
      await page.click(".card:not([hidden]) .link >> nth=0");
      const after = await currentCard(page);
      await page.clock.runFor(10000);
      assert.equal(await currentCard(page), after, "a link stops the slide show");
      assert.deepEqual(errors, []);
    } finally {
      await context.close();
    }
  });

  it("shows hostile titles as text and runs nothing of them", async () => {
    const { page, context, requests, errors } = await openPage("hostile.html");
    try {
      const seen = await page.evaluate(() => ({
        ran: window.cwRan ?? null,
        title: document.querySelector("h1").textContent,
        caption: document.querySelector(".link").textContent,
        comment: document.querySelector(".card p").textContent,
        elements: document.querySelectorAll("img, b, .card script").length,
        sections: document.querySelectorAll("section").length,
      }));
      assert.equal(seen.ran, null);
      assert.match(seen.title, /"q' \\ <\/b><img src=x onerror=window\.cwRan=1>/);
      assert.equal(seen.caption, "<img src=x onerror=window.cwRan=3>");
      assert.match(seen.comment, /<script>window\.cwRan=2<\/script>/);
      assert.equal(seen.elements, 0);
      assert.equal(seen.sections, 3);
      await page.click(".link >> nth=0");
      assert.equal(await page.evaluate(() => window.cwRan ?? null), null);
      assert.deepEqual(requests, []);
      assert.deepEqual(errors, []);
    } finally {
      await context.close();
    }
  });

  it("opens in Firefox ESR from disk and a click moves on", async () => {
    const firefox = await Firefox.launch();
    try {
      await firefox.navigate(pathToFileURL(file("quiz.html")).href);
      const shown = () =>
        firefox.evaluate(`return Array.from(document.querySelectorAll(".card"))
          .filter((c) => getComputedStyle(c).display !== "none").map((c) => c.querySelector("h1").textContent.trim())`);
      assert.deepEqual(await shown(), ["Question 1: Which planet is the largest?"]);
      const fonts = await firefox.evaluate(
        "return document.fonts.ready.then(() => Array.from(document.fonts).map((f) => f.family + ' ' + f.status))",
      );
      assert.ok(fonts.length >= 2 && fonts.every((f) => f.endsWith("loaded")), `${fonts}`);
      await firefox.click(".card:not([hidden]) .link:nth-of-type(2)");
      assert.deepEqual(await shown(), ["Question 2: How many legs has a spider?"]);
    } finally {
      await firefox.close();
    }
  });
});
