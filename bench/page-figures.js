// The page's figures for the vekhost benchmark, in Debian's headless
// Chromium at 1366x768: from navigation start to the first frame that shows
// the sheet, to the first part of the drawing drawn and to the whole drawing
// drawn; and the median time from a pointermove to the frame that shows its
// highlight, over 200 moves that each change it. The page marks each moment
// itself (performance marks); this script reads them and prints JSON.
//   node page-figures.js URL [first-part]   (first-part: stop at the first part)
const { chromium } = require('@playwright/test');

const MOVES = 200;

async function mark(page, name, timeout) {
  await page.waitForFunction((name) => performance.getEntriesByName(name).length > 0, name, { timeout });
  return page.evaluate((name) => performance.getEntriesByName(name)[0].startTime, name);
}

// Moves between a dimension and a point beside it, so that every move
// changes what is highlighted; each after the one before has been shown, at
// a moment of the frame that is left to chance, as a hand's moves are.
async function highlightMedian(page) {
  const width = await page.evaluate(() => sheet.pickPoint('width'));
  for (let i = 0; i < MOVES; ++i) {
    await page.mouse.move(width.x, width.y + (i % 2 ? 0 : 30));
    await page.evaluate((pause) => new Promise((resolve) => requestAnimationFrame(() =>
      requestAnimationFrame(() => setTimeout(resolve, pause)))), Math.random() * 16);
  }
  const times = await page.evaluate(() => performance.getEntriesByName('vekhost:highlight').map((m) => m.duration));
  times.sort((a, b) => a - b);
  return { moves: times.length, median: times[times.length >> 1] };
}

(async () => {
  const [url, until] = process.argv.slice(2);
  const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox'] });
  try {
    const page = await browser.newPage({ viewport: { width: 1366, height: 768 } });
    await page.goto(url);
    const figures = { sheet: await mark(page, 'vekhost:sheet', 60000) };
    figures.firstPart = await mark(page, 'vekhost:first-part', 600000);
    if (until !== 'first-part') {
      figures.drawing = await mark(page, 'vekhost:drawing', 600000);
      figures.highlight = await highlightMedian(page);
    }
    console.log(JSON.stringify(figures));
  } finally {
    await browser.close();
  }
})().catch((error) => {
  console.error(`page-figures: ${error.message}`);
  process.exit(1);
});
