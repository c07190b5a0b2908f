// Proves the player helpers on the harness's own hand-assembled movies.
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { BUTTONS, HELLO, LETTERS, PROBE, SCORE } from "./fixtures/harness_movies.mjs";
import { assertColor, assertLetterCells, assertNoProblems, assertStays, harnessMovie, shared } from "./shared.mjs";

describe("harness", () => {
  it("shows the background colour and collects trace output", async () => {
    const player = shared.player;
    await player.load(harnessMovie(HELLO.file));
    assert.deepEqual(player.stage, { width: HELLO.width, height: HELLO.height });
    await assertColor(player, 60, 45, HELLO.background);
    assert.ok(await player.waitForTrace(HELLO.trace), `traces: ${JSON.stringify(player.traces)}`);
    await assertNoProblems(player);
  });

  it("plays a compressed movie", async () => {
    const player = shared.player;
    await player.load(harnessMovie(HELLO.compressedFile));
    await assertColor(player, 5, 85, HELLO.background);
    assert.ok(await player.waitForTrace(HELLO.trace));
    await assertNoProblems(player);
  });

  it("clicks buttons: one opens a URL in a new window, one goes to frame 3", async () => {
    const player = shared.player;
    const b = BUTTONS;
    const panelPoint = [100, 125];
    await player.load(harnessMovie(b.file));
    await assertStays(player, ...panelPoint, b.stageColor);
    await assertColor(player, b.gotoButton.x + 30, b.gotoButton.y + 20, b.gotoButton.color);
    await assertColor(player, b.urlButton.x + 30, b.urlButton.y + 20, b.urlButton.color);

    await player.click(b.urlButton.x + 30, b.urlButton.y + 20);
    assert.ok(await player.waitForUrl(b.url), `opened: ${JSON.stringify(player.opened)}`);
    assert.equal(player.opened.find((o) => o.url === b.url).target, "_blank");
    assert.deepEqual(await player.pixel(...panelPoint), b.stageColor, "the URL button must not change frame");

    await player.click(b.gotoButton.x + 30, b.gotoButton.y + 20);
    await assertColor(player, ...panelPoint, b.frame3Panel.color);
    assert.ok(await player.waitForTrace(b.frame3Trace), `traces: ${JSON.stringify(player.traces)}`);
    await assertNoProblems(player);
  });

  it("reads a variable of a movie loaded into _level1", async () => {
    const player = shared.player;
    await player.load(harnessMovie(PROBE.file), {
      parameters: { movie: `/movies/${shared.harnessFolder}/${SCORE.file}` },
    });
    assert.ok(await player.waitForTrace(String(SCORE.score)), `traces: ${JSON.stringify(player.traces)}`);
    await assertNoProblems(player);
  });

  // The build's generated Sans font, embedded whole by the hand assembler.
  it("draws letters outside ASCII in the generated Sans font", { skip: process.env.CW_E2E_FONTS !== "1" }, async () => {
    const player = shared.player;
    await player.load(harnessMovie(LETTERS.file));
    await assertLetterCells(player, LETTERS.letters.slice(0, 4));
    await assertNoProblems(player);
  });

  it("reports a movie Ruffle cannot play", async () => {
    const player = shared.player;
    const truncated = readFileSync(harnessMovie(BUTTONS.file)).subarray(0, 40);
    await player.load(truncated);
    assert.ok(await player.waitFor(() => player.errors.length > 0), `console: ${player.log.join("\n")}`);
    assert.notDeepEqual(await player.problems(), []);
  });
});
