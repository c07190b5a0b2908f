// First contentful paint of a page opened from disk in headless Chromium, median of 10 fresh pages:
// the web page gift beside the page with the Flash player. Figures only.
//   node bench/web/web_paint.mjs WEB.html PLAYER.html
// (playwright-core from tests/e2e/node_modules; `cardwright-cli html` writes both pages.)
import { createRequire } from "node:module";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, "../../tests/e2e/package.json"));
const { chromium } = require("playwright-core");

// Milliseconds from navigation start to the first contentful paint; for the player page, whose first
// contentful paint is its empty frame, also to the first frame Ruffle paints of the movie.
async function measure(browser, file) {
  const page = await browser.newPage({ viewport: { width: 640, height: 480 } });
  await page.goto(pathToFileURL(file).href);
  const fcp = await page.evaluate(
    () =>
      new Promise((resolve) => {
        new PerformanceObserver((list) => {
          const entry = list.getEntriesByName("first-contentful-paint")[0];
          if (entry) resolve(entry.startTime);
        }).observe({ type: "paint", buffered: true });
      }),
  );
  // The card is on screen when a canvas (Ruffle) or a card region shows.
  await page.waitForFunction(
    () => {
      const card = document.querySelector(".card:not([hidden])");
      if (card) return true;
      const player = document.querySelector("ruffle-player, ruffle-embed");
      return player?.ruffle?.().readyState === 2;
    },
    null,
    { timeout: 60000, polling: 10 },
  );
  const shown = await page.evaluate(() => performance.now());
  await page.close();
  return { fcp, shown };
}

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

const browser = await chromium.launch({
  executablePath: process.env.CW_CHROMIUM ?? "/usr/bin/chromium",
  headless: true,
  chromiumSandbox: false,
});
for (const file of process.argv.slice(2)) {
  const runs = [];
  for (let i = 0; i < 10; ++i) runs.push(await measure(browser, file));
  console.log(
    `${path.basename(file)}: first contentful paint ${median(runs.map((r) => r.fcp)).toFixed(1)} ms, ` +
      `card shown ${median(runs.map((r) => r.shown)).toFixed(1)} ms (medians of 10)`,
  );
}
await browser.close();
