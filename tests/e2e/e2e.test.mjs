// The real-player tests: one browser, one page and one player for every suite (node --test would start
// a process, and so a browser, per test file, hence the single entry file).
import { after, before } from "node:test";
import { Player } from "./lib/player.mjs";
import { shared } from "./shared.mjs";

before(async () => {
  shared.player = await Player.open({ moviesDir: shared.moviesRoot });
});

after(async () => {
  await shared.player?.close();
});

await import("./harness.suite.mjs");
// The library's movies exist once the movie library is built (CMake sets the variable then).
if (process.env.CW_E2E_LIBRARY === "1") await import("./library.suite.mjs");
await import("./actionscript.suite.mjs");
await import("./gift.suite.mjs");
await import("./i18n.suite.mjs");
// The album movie exists once the album library is built (tests/album writes it).
if (process.env.CW_E2E_ALBUM === "1") await import("./album.suite.mjs");
await import("./pictures.suite.mjs");
// The self-running page exists once the publishing tests have written it (tests/publish).
await import("./html_gift.suite.mjs");
// The web page gifts exist once tests/web has written them beside their movies.
if (process.env.CW_E2E_WEB === "1") await import("./web_gift.suite.mjs");
await import("./every_movie.suite.mjs");
