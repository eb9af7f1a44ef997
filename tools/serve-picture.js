// A picture of vekhost --serve for the README: the box example's three
// dimensions picked, the preview note following the cursor in the title
// block.   node tools/serve-picture.js URL OUTPUT.png
const { chromium } = require('@playwright/test');

(async () => {
  const [url, output] = process.argv.slice(2);
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  const page = await browser.newPage({ viewport: { width: 1200, height: 720 } });
  await page.goto(url);
  for (const name of ['width', 'length', 'height']) {
    const box = await page.locator(`#drawing [data-name="${name}"] line[stroke="transparent"]`).boundingBox();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await page.waitForTimeout(200);
  }
  const at = await page.evaluate(() => {
    const svg = document.querySelector('#drawing svg');
    const origin = state.frames.title.origin;
    const p = svg.createSVGPoint();
    p.x = origin[0] + 25;
    p.y = Number(svg.dataset.top) - (origin[1] + 14);
    const q = p.matrixTransform(svg.getScreenCTM());
    return { x: q.x, y: q.y };
  });
  await page.mouse.move(at.x - 60, at.y - 40);
  await page.mouse.move(at.x, at.y, { steps: 5 });
  await page.waitForTimeout(500);
  await page.screenshot({ path: output });
  await browser.close();
})();
