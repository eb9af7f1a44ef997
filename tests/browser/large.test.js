// A drafter's sheet of 20,000 elements in the browser: the page shows its
// progress while the drawing comes, and the command is played with real
// clicks on a zoomed view.
const { test, expect } = require('./fixtures');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { startSession } = require('./session');
const { pickThree } = require('./actions');

let folder;
let session;
test.beforeAll(() => {
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vekhost-large-'));
  const drawing = execFileSync('python3', [path.join(__dirname, '../../bench/make-drawing.py'), '20000'],
                               { maxBuffer: 64 * 1024 * 1024 });
  fs.writeFileSync(path.join(folder, 'sheet.json'), drawing);
});
test.afterAll(() => fs.rmSync(folder, { recursive: true, force: true }));
test.beforeEach(async () => { session = await startSession({ drawing: path.join(folder, 'sheet.json') }); });
test.afterEach(async () => { expect(await session.stop()).toBe(0); });

// Zooms in on the named element with the wheel, as a person does on a
// dense sheet, and clicks it.
async function zoomAndClick(page, name) {
  let at = await page.evaluate((name) => sheet.pickPoint(name), name);
  await page.mouse.move(at.x, at.y);
  for (let i = 0; i < 4; ++i) await page.mouse.wheel(0, -100);
  at = await page.evaluate((name) => sheet.pickPoint(name), name);
  await page.mouse.click(at.x, at.y);
}

test('20,000 elements: progress, then three picks and a note', async ({ page }) => {
  await page.goto(session.url);
  await expect(page.locator('#progress-text')).toContainText('/ 20,000');
  await expect(page.locator('#progress')).toBeHidden({ timeout: 20000 }); // all received and drawn
  expect(await page.evaluate(() => sheet.items.length)).toBe(20000);
  await pickThree(page, zoomAndClick);
  await expect(page.locator('#frame')).toContainText('title');
  await page.evaluate(() => { sheet.fit(); sheet.render(); });
  const at = await page.evaluate(() => sheet.screenPoint('title', 120, 40));
  await page.mouse.move(at.x - 20, at.y);
  await page.mouse.move(at.x, at.y, { steps: 3 });
  await expect.poll(() => page.evaluate(() => state.preview && state.preview.readable)).toBe('100X50X20');
  await page.mouse.click(at.x, at.y);
  await expect(page.locator('#notes li')).toHaveText(['100X50X20']);
});
