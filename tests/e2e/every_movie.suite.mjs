// Every movie the test suite wrote under test-movies/ plays in Ruffle without an error or warning.
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import { readdirSync } from "node:fs";
import path from "node:path";
import { assertNoProblems, shared } from "./shared.mjs";

describe("every test movie", () => {
  const movies = readdirSync(shared.moviesRoot, { recursive: true })
    .filter((name) => name.endsWith(".swf"))
    .sort();
  it("finds movies to play", () => assert.ok(movies.length > 0));
  for (const name of movies) {
    it(`plays ${name}`, async () => {
      const player = shared.player;
      await player.load(path.join(shared.moviesRoot, name));
      await new Promise((resolve) => setTimeout(resolve, 250));
      await assertNoProblems(player);
    });
  }
});
