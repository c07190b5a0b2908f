// Gift movies written by the builder (tests/movie/gift_e2e_movies_test.cpp), played in Ruffle: clicking
// through cards, score branching at each operator's boundary, the e-mail alert URL, the slide show,
// picture placement, button faces and the credit items with their URLs.
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { assertColor, assertNoProblems, shared } from "./shared.mjs";

const giftMovie = (name) => path.join(shared.moviesRoot, "gift", `e2e_${name}.swf`);

// Background colours of cards 0..3 in the e2e movies, and a point where only the background shows.
const CARD = [
  [0xff, 0xd0, 0xd0],
  [0xd0, 0xff, 0xd0],
  [0xd0, 0xd0, 0xff],
  [0xff, 0xff, 0xc0],
];
const PROBE = [620, 300];
const WHITE = [255, 255, 255];
const GREEN = [0, 160, 0];

// The centre of link button i (colour faces: 60 x 30 from x = 20 + 75 i, y = H - 60).
const button = (i) => [20 + 75 * i + 30, 480 - 60 + 15];

// Clicks link button i and waits until the title area shows another card, so a busy machine cannot make
// the next click land on the card before.
async function clickToNextCard(player, i) {
  const title = async () => Buffer.from((await player.capture(0, 20, 640, 70)).rgba);
  const before = await title();
  await player.click(...button(i));
  const end = Date.now() + 5000;
  while (Date.now() < end) {
    if (!(await title()).equals(before)) return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  assert.fail(`link ${i} did not lead to another card`);
}

describe("gift movies", () => {
  it("score branching goes the right way at each operator's boundary", async () => {
    const player = shared.player;
    const holds = {
      gt: (s) => s > 10,
      ge: (s) => s >= 10,
      eq: (s) => s === 10,
      le: (s) => s <= 10,
      lt: (s) => s < 10,
    };
    for (const [name, test] of Object.entries(holds)) {
      for (const [i, score] of [9, 10, 11].entries()) {
        await player.load(giftMovie(`branch_${name}`));
        await assertColor(player, ...PROBE, CARD[0]);
        await player.click(...button(i));
        await assertColor(player, ...PROBE, CARD[1]);
        await player.click(...button(0));
        const expected = test(score) ? CARD[2] : CARD[3];
        await assertColor(player, ...PROBE, expected);
      }
    }
    await assertNoProblems(player);
  });

  it("the e-mail alert opens the form with the exact title, target and trace", async () => {
    const player = shared.player;
    await player.load(giftMovie("quiz_alert"));
    await assertColor(player, ...PROBE, CARD[0]);
    await player.click(...button(0));
    await assertColor(player, ...PROBE, CARD[1]);
    assert.equal(player.opened.length, 0);
    await player.click(...button(0));
    await assertColor(player, ...PROBE, CARD[2]);
    assert.ok(await player.waitFor(() => player.opened.length > 0), "the alert opened no URL");
    const { url, target } = player.opened[0];
    const prefix =
      "http://cardwright.example/member/emailalert.php?title=End%20%26%20more&target=ann%2Bgifts%40example.org&trace=";
    assert.ok(url.startsWith(prefix), url);
    assert.equal(target, "_blank");
    const trace = decodeURIComponent(url.slice(prefix.length));
    assert.equal(trace, 'Q1 "quote" \\ </b> & #1\nGrüß[-]Yes & "no"[N]Q2[-]Next[N]');
    await assertNoProblems(player);
  });

  it("the sample quiz branches on the score and alerts on full marks", async () => {
    const player = shared.player;
    await player.load(giftMovie("theme_Quiz"));
    await clickToNextCard(player, 1); // Jupiter: +10
    await clickToNextCard(player, 1); // Eight: +10
    assert.equal(player.opened.length, 0);
    await player.click(...button(0)); // Result: score 20 >= 20
    assert.ok(await player.waitFor(() => player.opened.length > 0), "full marks sent no alert");
    const prefix = "http://cardwright.example/member/emailalert.php?title=Full%20marks%21&target=";
    assert.ok(player.opened[0].url.startsWith(prefix), player.opened[0].url);
    const trace = decodeURIComponent(player.opened[0].url.split("&trace=")[1]);
    assert.equal(
      trace,
      "Question 1: Which planet is the largest?[-]Jupiter[N]Question 2: How many legs has a spider?[-]Eight[N]" +
        "Let us see how you did[-]Result[N]",
    );

    await player.load(giftMovie("theme_Quiz"));
    await clickToNextCard(player, 0); // Mars: +0
    await clickToNextCard(player, 1); // Eight: +10
    await player.click(...button(0)); // Result: score 10 < 20
    assert.equal(await player.waitFor(() => player.opened.length > 0, { timeout: 1500 }), false);
    await assertNoProblems(player);
  });

  it("every theme shows its first card and its first button leads to the second", async () => {
    const player = shared.player;
    const themes = fs
      .readdirSync(path.join(shared.moviesRoot, "gift"))
      .filter((f) => /^e2e_theme_.*\.swf$/.test(f))
      .map((f) => f.slice("e2e_".length, -".swf".length));
    assert.ok(themes.length >= 12, `only ${themes.length} themes were written`);
    for (const theme of themes) {
      await player.load(giftMovie(theme));
      await clickToNextCard(player, 0); // fails unless the title area shows another card

    }
    await assertNoProblems(player);
  });

  it("the default project clicks through its cards", async () => {
    const player = shared.player;
    await player.load(giftMovie("default_project"));
    const title = async () => (await player.ink(10, 15, 200, 30)).mask.join("");
    await assertColor(player, 25, 425, [0x27, 0x81, 0xc4]);
    const first = await title();
    await player.click(...button(0));
    await player.waitFor(async () => false, { timeout: 300 });
    const second = await title();
    assert.notEqual(second, first, "the first button did not change the card");
    // The mouse rests on the next card's first button: its over face shows (each colour less 20).
    await assertColor(player, 25, 425, [0x13, 0x6d, 0xb0]);
    await assertColor(player, 100, 425, [0x27, 0x81, 0xc4]);
    await player.click(...button(1));
    await player.waitFor(async () => false, { timeout: 300 });
    assert.notEqual(await title(), second, "the second card's button did not change the card");
    await assertColor(player, 25, 425, WHITE); // the last card has no links
    await assertColor(player, 100, 425, WHITE);
    await assertNoProblems(player);
  });

  it("a slide show of 0.5 s runs on by itself", async () => {
    const player = shared.player;
    await player.load(giftMovie("slide_show"));
    await assertColor(player, ...PROBE, CARD[1]);
    await assertColor(player, ...PROBE, CARD[2]);
    await assertColor(player, ...PROBE, CARD[0]);
    await assertNoProblems(player);
  });

  it("placement codes put a 100 x 50 picture where they say", async () => {
    const player = shared.player;
    const tolerance = 14; // JPEG
    const grid = [
      [0, 0],
      [270, 0],
      [540, 0],
      [0, 215],
      [270, 215],
      [540, 215],
      [0, 430],
      [270, 430],
      [540, 430],
    ];
    for (const [code, [x, y]] of grid.entries()) {
      await player.load(giftMovie(`place_${code}`));
      await assertColor(player, x + 50, y + 25, GREEN, { tolerance });
      await assertColor(player, x + 3, y + 3, GREEN, { tolerance });
      await assertColor(player, x + 96, y + 46, GREEN, { tolerance });
      if (x >= 4) await assertColor(player, x - 4, y + 25, WHITE, { tolerance });
      if (x + 104 <= 640) await assertColor(player, x + 104, y + 25, WHITE, { tolerance });
      if (y >= 4) await assertColor(player, x + 50, y - 4, WHITE, { tolerance });
      if (y + 54 <= 480) await assertColor(player, x + 50, y + 54, WHITE, { tolerance });
    }
    await player.load(giftMovie("place_9")); // tiled
    for (const [x, y] of [[5, 5], [150, 75], [320, 240], [635, 475]]) {
      await assertColor(player, x, y, GREEN, { tolerance });
    }
    await player.load(giftMovie("place_10")); // stretched
    for (const [x, y] of [[3, 3], [320, 240], [636, 476]]) {
      await assertColor(player, x, y, GREEN, { tolerance });
    }
    await player.load(giftMovie("place_11")); // 2:1 kept: 640 x 320 at y = 80
    await assertColor(player, 320, 75, WHITE, { tolerance });
    await assertColor(player, 320, 85, GREEN, { tolerance });
    await assertColor(player, 320, 395, GREEN, { tolerance });
    await assertColor(player, 320, 405, WHITE, { tolerance });
    await assertNoProblems(player);
  });

  it("colour and picture buttons sit in a row, the credit items open their URLs", async () => {
    const player = shared.player;
    await player.load(giftMovie("buttons_colour"));
    for (const x of [20, 95, 170]) await assertColor(player, x + 4, 424, [0x27, 0x81, 0xc4]);
    await assertColor(player, 245 + 4, 424, CARD[0]);
    const credit = await player.ink(480, 455, 160, 25, CARD[0]);
    assert.ok(credit.count > 100, `the credit text shows ${credit.count} ink pixels`);
    await player.click(570, 465);
    assert.ok(
      await player.waitForUrl("http://cardwright.example/ordernow.php?from=ann@example.org"),
      JSON.stringify(player.opened),
    );
    await player.click(415, 465);
    assert.ok(await player.waitForUrl("mailto:ann@example.org"), JSON.stringify(player.opened));
    assert.ok(player.opened.every((o) => o.target === "_blank"), JSON.stringify(player.opened));
    await assertColor(player, ...PROBE, CARD[0]); // neither moved the movie

    await player.load(giftMovie("buttons_picture"));
    for (const x of [20, 115, 210]) await assertColor(player, x + 4, 424, [200, 100, 0], { tolerance: 14 });
    await assertColor(player, 305 + 4, 424, CARD[0]);
    await assertNoProblems(player);
  });
});
