// A picture of vekhost --serve for the README: the box example's three
// dimensions picked, the preview note following the cursor in the title
// block.   node tools/serve-picture.js URL OUTPUT.png
const { chromium } = require('@playwright/test');

(async () => {
  const [url, output] = process.argv.slice(2);
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  const page = await browser.newPage({ viewport: { width: 1200, height: 720 } });
  await page.goto(url);
  await page.waitForFunction(() => performance.getEntriesByName('vekhost:drawing').length > 0);
  for (const name of ['width', 'length', 'height']) {
    const at = await page.evaluate((name) => sheet.pickPoint(name), name);
    await page.mouse.click(at.x, at.y);
    await page.waitForTimeout(200);
  }
  const at = await page.evaluate(() => sheet.screenPoint('title', 25, 14));
  await page.mouse.move(at.x - 60, at.y - 40);
  await page.mouse.move(at.x, at.y, { steps: 5 });
  await page.waitForTimeout(500);
  await page.screenshot({ path: output });
  await browser.close();
})();
