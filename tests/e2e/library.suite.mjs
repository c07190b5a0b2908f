// Movies written by the movie library (tests/e2e/fixtures/make_library_movies.cpp), played in Ruffle.
// The places and colours are the ones that program draws.
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import {
  assertColor,
  assertLetterCells,
  assertNoProblems,
  assertStays,
  libraryMovie,
  shared,
} from "./shared.mjs";

const WHITE = [255, 255, 255];
const YELLOW = [250, 220, 20];
const PURPLE = [120, 40, 160];
const CYAN = [20, 200, 220];
const DARK_RED = [140, 20, 30];

describe("library movies", () => {
  it("a 3-frame movie: rectangle, text and button; a click goes to frame 3", async () => {
    const player = shared.player;
    await player.load(libraryMovie("three_frames.swf"));
    const green = [0x30, 0x90, 0x60];
    await assertStays(player, 40, 90, green); // frame 1 stops
    await assertColor(player, 190, 140, [0x20, 0x40, 0xd0]);
    await assertColor(player, 230, 10, green);
    const text = await player.ink(10, 15, 140, 32, green);
    assert.ok(text.count > 100, `the Sans text shows ${text.count} ink pixels`);

    await player.click(190, 140);
    await assertColor(player, 40, 90, [0xe0, 0xc0, 0x20]);
    assert.ok(await player.waitForTrace("frame 3"), `traces: ${JSON.stringify(player.traces)}`);
    await assertColor(player, 230, 10, green);
    await assertNoProblems(player);
  });

  it("letters outside ASCII show their own glyphs, a missing one the replacement glyph", async () => {
    const player = shared.player;
    await player.load(libraryMovie("letters.swf"));
    await assertLetterCells(player, ["é", "ß", "Ω", "Ж"]);
    await assertNoProblems(player);
  });

  it("a compressed movie imported as a clip shows and runs", async () => {
    const player = shared.player;
    await player.load(libraryMovie("clip_host.swf"));
    const orange = [0xff, 0x80, 0x00];
    await assertColor(player, 75, 55, orange);
    await assertColor(player, 160, 120, orange);
    await assertColor(player, 65, 45, WHITE);
    await assertColor(player, 175, 135, WHITE);
    const ink = await player.ink(78, 60, 60, 24, orange);
    assert.ok(ink.count > 30, `the clip's text shows ${ink.count} ink pixels`);
    assert.ok(await player.waitForTrace("inside the clip"), `traces: ${JSON.stringify(player.traces)}`);
    await assertNoProblems(player);
  });

  it("a JPEG and a DBL bitmap show with the right colours at the right place", async () => {
    const player = shared.player;
    await player.load(libraryMovie("bitmaps.swf"));
    const tolerance = 12; // JPEG
    await assertColor(player, 25, 40, [220, 30, 30], { tolerance });
    await assertColor(player, 35, 55, [220, 30, 30], { tolerance });
    await assertColor(player, 45, 40, [30, 60, 220], { tolerance });
    await assertColor(player, 55, 55, [30, 60, 220], { tolerance });
    await assertColor(player, 17, 40, WHITE);
    await assertColor(player, 63, 40, WHITE);
    await assertColor(player, 40, 27, WHITE);
    await assertColor(player, 40, 63, WHITE);

    await assertColor(player, 125, 35, YELLOW);
    await assertColor(player, 145, 35, PURPLE);
    await assertColor(player, 125, 45, CYAN);
    await assertColor(player, 145, 45, DARK_RED);
    await assertColor(player, 117, 35, WHITE);
    await assertColor(player, 153, 45, WHITE);
    await assertColor(player, 125, 53, WHITE);
    await assertNoProblems(player);
  });

  it("a tiled fill repeats the bitmap, a clipped fill stretches its edges", async () => {
    const player = shared.player;
    await player.load(libraryMovie("fills.swf"));
    const clipped = (x, y) => [10 + x, 100 + y];
    const tiled = (x, y) => [130 + x, 100 + y];
    // Inside the bitmap both show it.
    for (const at of [clipped, tiled]) {
      await assertColor(player, ...at(5, 5), YELLOW);
      await assertColor(player, ...at(25, 5), PURPLE);
      await assertColor(player, ...at(5, 15), CYAN);
      await assertColor(player, ...at(25, 15), DARK_RED);
    }
    // Beyond it the tiled fill starts over; the clipped one repeats its edge pixels.
    await assertColor(player, ...tiled(35, 5), YELLOW);
    await assertColor(player, ...tiled(5, 25), YELLOW);
    await assertColor(player, ...tiled(65, 45), YELLOW);
    await assertColor(player, ...tiled(80, 15), DARK_RED);
    await assertColor(player, ...clipped(35, 5), PURPLE);
    await assertColor(player, ...clipped(5, 25), CYAN);
    await assertColor(player, ...clipped(65, 45), DARK_RED);
    await assertColor(player, ...clipped(80, 5), PURPLE);
    await assertColor(player, ...tiled(80, 5), PURPLE);
    await assertNoProblems(player);
  });
});
