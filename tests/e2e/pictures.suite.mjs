// Pictures as people have them, in the player (movies written by tests/movie/picture_kinds_test.cpp):
// a rounded button face with transparent corners shows the card's colour through them, and a photo
// stored sideways with an orientation tag shows upright as a card background and in an album.
import { describe, it } from "node:test";
import path from "node:path";
import { assertColor, assertNoProblems, shared } from "./shared.mjs";

const movie = (name) => path.join(shared.moviesRoot, "gift", `${name}.swf`);
const RED = [220, 30, 30];
const BLUE = [30, 30, 220];
const CARD_GREEN = [0x30, 0xa0, 0x50];
const WHITE = [255, 255, 255];
const ALBUM_STAGE = [33, 33, 33];
const loose = { tolerance: 24 };

describe("pictures", () => {
  it("a rounded transparent button shows the card's colour in its corners", async () => {
    const player = shared.player;
    await player.load(movie("transparent_button"));
    // The 80 x 40 face sits at (20, 420); its corners are cut with a radius of 14.
    await assertColor(player, 60, 440, RED, loose);
    for (const [x, y] of [
      [21, 421],
      [98, 421],
      [21, 458],
      [98, 458],
    ]) {
      await assertColor(player, x, y, CARD_GREEN, loose);
    }
    await assertNoProblems(player);
  });

  it("a photo tagged to be turned shows upright as a card background", async () => {
    const player = shared.player;
    await player.load(movie("upright_background"));
    // Upright the photo is 60 x 120 at the top left: red above blue, the card's white beside it.
    await assertColor(player, 30, 30, RED, loose);
    await assertColor(player, 30, 100, BLUE, loose);
    await assertColor(player, 100, 100, WHITE, loose);
    await assertNoProblems(player);
  });

  it("a photo tagged to be turned shows upright in an album", async () => {
    const player = shared.player;
    await player.load(movie("upright_album"));
    // Upright, 60 x 120 centred on the stage: x 290..350, y 180..300 (sideways it would be 120 x 60).
    await assertColor(player, 320, 200, RED, { ...loose, timeout: 8000 });
    await assertColor(player, 320, 280, BLUE, loose);
    await assertColor(player, 270, 240, ALBUM_STAGE, loose);
    await assertNoProblems(player);
  });
});
