// Compiled ActionScript run by the real player: tests/as/player_movies_test.cpp writes one movie per
// case (an empty frame, then the compiled frame scripts) and the traces each must print, in order.
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import { existsSync, readFileSync } from "node:fs";
import path from "node:path";
import { assertNoProblems, shared } from "./shared.mjs";

const folder = path.join(shared.moviesRoot, "as");
const expectedFile = path.join(folder, "expected.json");
const cases = existsSync(expectedFile) ? JSON.parse(readFileSync(expectedFile, "utf8")) : [];

describe("compiled ActionScript", () => {
  it("has movies to play", () => assert.ok(cases.length > 0, `no cases in ${expectedFile}`));
  for (const { movie, traces } of cases) {
    it(`${movie} traces ${traces.length} expected lines`, async () => {
      const player = shared.player;
      await player.load(path.join(folder, movie));
      const done = await player.waitFor(() => player.traces.length >= traces.length, { timeout: 8000 });
      // A little longer, so a trace that should not come (a missed stop) would show.
      await new Promise((resolve) => setTimeout(resolve, 400));
      assert.ok(done, `only ${player.traces.length} traces: ${JSON.stringify(player.traces)}`);
      assert.deepEqual(player.traces, traces);
      await assertNoProblems(player);
    });
  }
});
