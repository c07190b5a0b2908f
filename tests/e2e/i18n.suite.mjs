// Text in every language, played in Ruffle: the multilingual card written by
// tests/movie/gift_i18n_test.cpp shows ink for every word where HarfBuzz's own shaping of the word
// (the reference layout beside the movie) puts it, nothing in the spaces between words, and nothing
// after each line's last word.
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { assertNoProblems, shared } from "./shared.mjs";

const folder = path.join(shared.moviesRoot, "gift");
const ink = async (player, x0, y0, x1, y1) =>
  (await player.ink(Math.round(x0), Math.round(y0), Math.max(1, Math.round(x1 - x0)), Math.round(y1 - y0))).count;

describe("text in every language", () => {
  it("every word of the multilingual card shows ink where the reference layout puts it", async () => {
    const player = shared.player;
    const words = JSON.parse(fs.readFileSync(path.join(folder, "e2e_i18n_words.json"), "utf8"));
    await player.load(path.join(folder, "e2e_i18n.swf"));
    const first = words[0];
    await player.waitForPixel(5, 5, [255, 255, 255]);
    for (const w of words) {
      const count = await ink(player, w.x0 + 1, w.top, w.x1 - 1, w.bottom);
      assert.ok(count > 20, `${w.word}: ${count} ink pixels in x ${w.x0}..${w.x1}`);
      if (w.gap !== null) {
        const gap = await ink(player, w.gap, w.top + 2, w.gap + 1, w.bottom - 2);
        assert.ok(gap <= 1, `the space before ${w.word} (x ${w.gap}) has ${gap} ink pixels`);
      }
    }
    // Each line ends where the reference says: the next words' box starts a new line.
    const lineEnds = words.filter((w, i) => i + 1 === words.length || words[i + 1].top !== w.top);
    for (const w of lineEnds) {
      const after = await ink(player, w.x1 + 4, w.top, w.x1 + 44, w.bottom);
      assert.ok(after <= 2, `${after} ink pixels after ${w.word}, the last word of its line`);
    }
    assert.ok(first.x0 > 10, "the title begins with a space");
    await assertNoProblems(player);
  });
});
