// The photo album in the player: the movie tests/album writes (two full-stage pictures of one colour
// each, 200,120,40 then 40,90,200, on the album's 33,33,33 stage).
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import { Action as A, doAction, movie } from "./lib/swf.mjs";
import { sameColor } from "./lib/player.mjs";
import { assertColor, assertNoProblems, assertStays, shared } from "./shared.mjs";
import path from "node:path";

const ALBUM = "album/two_pictures.swf";
const STAGE = [33, 33, 33];
const FIRST = [200, 120, 40];
const SECOND = [40, 90, 200];
const CENTRE = [320, 240];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Loads the movie of the `movie` parameter into _level1 and holds it on frame `frame` (as a number):
// frame 2 calls _level1.gotoAndStop(frame) once _level1 exists, frame 3 goes back to frame 2.
function frameProbe() {
  const op = (code) => Buffer.from([code]);
  const call = Buffer.concat([
    A.pushString("frame"),
    A.getVariable(),
    op(0x4a), // ToNumber: the parameter is a string, and a string would be a frame label
    A.pushNumber(1),
    A.pushString("_level1"),
    A.getVariable(),
    A.pushString("gotoAndStop"),
    op(0x52), // CallMethod
    op(0x17), // Pop
  ]);
  const skipUnlessLoaded = Buffer.concat([
    A.pushString("_level1"),
    A.getVariable(),
    op(0x12), // Not
    Buffer.from([0x9d, 2, 0, call.length & 0xff, call.length >> 8]), // If: jump over the call
  ]);
  return movie({
    width: 640,
    height: 480,
    rate: 33,
    background: STAGE,
    frames: [
      [doAction(A.pushString("movie"), A.getVariable(), A.pushString("_level1"), A.getURL2(0))],
      [doAction(skipUnlessLoaded, call)],
      [doAction(A.gotoFrame(1), A.play())],
    ],
  });
}

// A colour on the way between the stage and a picture: a fade is running.
function fading(color) {
  return [FIRST, SECOND, STAGE].every((end) => !sameColor(color, end, 14));
}

const blend = (alpha) => FIRST.map((c, i) => Math.round(STAGE[i] + alpha * (c - STAGE[i])));

describe("photo album", () => {
  it("shows the first picture a quarter opaque at frame 11 and fully at frame 30", async () => {
    const player = shared.player;
    const url = `/movies/${ALBUM}`;
    // Frame 11 is fade-in step 10 of 20: alpha (10/20)^2.
    await player.load(frameProbe(), { parameters: { movie: url, frame: "11" } });
    // Held there, not merely passing through (the colour stays).
    await assertStays(player, ...CENTRE, blend(0.25), 500);
    await assertColor(player, 5, 5, blend(0.25), { tolerance: 6 });
    await player.load(frameProbe(), { parameters: { movie: url, frame: "30" } });
    await assertStays(player, ...CENTRE, FIRST, 1500); // longer than the 40 frames it is held
    await assertColor(player, 635, 475, FIRST, { tolerance: 6 });
    await assertNoProblems(player);
  });

  it("a click pauses the show and the next click resumes it", async () => {
    const player = shared.player;
    await player.load(path.join(shared.moviesRoot, ALBUM));
    // Pause in the middle of a fade, where any further frame changes the colour; a pause that lands
    // just after a fade is resumed and tried again.
    let paused = null;
    for (let attempt = 0; attempt < 6 && !paused; ++attempt) {
      const end = Date.now() + 8000;
      while (Date.now() < end && !fading(await player.pixel(...CENTRE))) await sleep(20);
      await player.click(...CENTRE);
      await sleep(200);
      const seen = await player.pixel(...CENTRE);
      if (fading(seen)) paused = seen;
      else {
        await player.click(...CENTRE);
        await sleep(300);
      }
    }
    assert.ok(paused, "no pause landed inside a fade");
    await sleep(1200); // longer than a whole fade (20 frames at 33 per second)
    const later = await player.pixel(...CENTRE);
    assert.ok(sameColor(later, paused, 3), `paused at ${JSON.stringify(paused)}, then saw ${JSON.stringify(later)}`);

    await player.click(...CENTRE);
    const end = Date.now() + 3000;
    let resumed = later;
    while (Date.now() < end && sameColor(resumed, paused, 3)) {
      await sleep(30);
      resumed = await player.pixel(...CENTRE);
    }
    assert.ok(!sameColor(resumed, paused, 3), `still ${JSON.stringify(resumed)} after the second click`);
    await assertNoProblems(player);
  });
});
