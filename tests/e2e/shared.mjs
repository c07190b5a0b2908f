// What every suite shares: the one player of the run, the movie folders, and common assertions.
import assert from "node:assert/strict";
import path from "node:path";
import { sameColor } from "./lib/player.mjs";

function required(name) {
  const value = process.env[name];
  if (!value) throw new Error(`${name} is not set (ctest sets it; see tests/e2e/CMakeLists.txt)`);
  return value;
}

export const shared = {
  player: null,
  // The test-movies folder the server publishes as /movies/, and the harness's folder inside it.
  moviesRoot: required("CW_TEST_MOVIES"),
  harnessFolder: "harness",
  libraryFolder: "library",
};

export const harnessMovie = (file) => path.join(shared.moviesRoot, shared.harnessFolder, file);
export const libraryMovie = (file) => path.join(shared.moviesRoot, shared.libraryFolder, file);

// Polls for the colour at a stage point and fails with what was seen.
export async function assertColor(player, x, y, expected, options) {
  const seen = await player.waitForPixel(x, y, expected, options);
  assert.ok(
    sameColor(seen, expected, options?.tolerance),
    `pixel (${x}, ${y}): expected ${JSON.stringify(expected)}, saw ${JSON.stringify(seen)}`,
  );
}

// The colour at a stage point is still there after a few frames' time (a stopped movie stays put).
export async function assertStays(player, x, y, expected, ms = 400) {
  await assertColor(player, x, y, expected);
  await new Promise((resolve) => setTimeout(resolve, ms));
  const seen = await player.pixel(x, y);
  assert.ok(sameColor(seen, expected), `pixel (${x}, ${y}) changed to ${JSON.stringify(seen)} by itself`);
}

export async function assertNoProblems(player) {
  assert.deepEqual(await player.problems(), [], "Ruffle reported problems");
}

// Letters drawn one per 60-pixel cell from x 10 (baseline at y 70, 48 pixels high), followed by one
// cell with the replacement glyph: each letter shows ink, and not the replacement glyph's shape.
export async function assertLetterCells(player, letters) {
  const cells = [];
  for (let i = 0; i <= letters.length; ++i) cells.push(await player.ink(6 + 60 * i, 10, 58, 80));
  const replacement = cells[letters.length];
  assert.ok(replacement.count > 50, `the replacement glyph shows ${replacement.count} ink pixels`);
  letters.forEach((letter, i) => {
    assert.ok(cells[i].count > 50, `${letter} shows ${cells[i].count} ink pixels`);
    const differing = cells[i].mask.filter((v, p) => v !== replacement.mask[p]).length;
    assert.ok(differing > 50, `${letter} looks like the replacement glyph (${differing} pixels differ)`);
  });
}
