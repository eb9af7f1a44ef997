// The command as a drafter plays it in the browser: with the mouse, the
// keyboard and the settings dialog.
const { test, expect } = require('@playwright/test');
const { startSession } = require('./session');

let session;
test.beforeEach(async ({ page }) => {
  session = await startSession();
  await page.goto(session.url);
  await expect(page.locator('#prompt')).toHaveText('가로치수선택 : (종료버튼:Dialog)');
  await page.waitForFunction(() => performance.getEntriesByName('vekhost:drawing').length > 0);
});
test.afterEach(async () => {
  expect(await session.stop()).toBe(0);
});

// Where a point of a frame is on the screen.
function clientPoint(page, frame, x, y) {
  return page.evaluate(([frame, x, y]) => sheet.screenPoint(frame, x, y), [frame, x, y]);
}

// Clicks on a named element of the drawing (on its line, not beside it).
async function clickElement(page, name) {
  const at = await page.evaluate((name) => sheet.pickPoint(name), name);
  await page.mouse.click(at.x, at.y);
}

// The color of the sheet's pixel at a window position.
function pixel(page, canvas, at) {
  return page.evaluate(([canvas, at]) => {
    const element = document.getElementById(canvas);
    const r = element.getBoundingClientRect();
    const ratio = element.width / r.width;
    const data = element.getContext('2d').getImageData(Math.round((at.x - r.left) * ratio),
      Math.round((at.y - r.top) * ratio), 1, 1).data;
    return [data[0], data[1], data[2], data[3]];
  }, [canvas, at]);
}

async function pickThree(page) {
  await clickElement(page, 'width');
  await expect(page.locator('#prompt')).toHaveText('세로치수선택 :');
  await clickElement(page, 'length');
  await expect(page.locator('#prompt')).toHaveText('높이치수선택 :');
  await clickElement(page, 'height');
  await expect(page.locator('#prompt')).toContainText('주기위치지시 혹은 주기선택');
}

async function placeNote(page) {
  const at = await clientPoint(page, 'title', 30, 12);
  await page.mouse.click(at.x, at.y);
}

test('the box example: three dimensions clicked, the preview follows the cursor, a click writes the note', async ({ page }) => {
  const width = await page.evaluate(() => sheet.pickPoint('width'));
  await page.mouse.move(width.x, width.y);
  expect(await pixel(page, 'overlay', width)).not.toEqual([0, 0, 0, 0]); // highlighted
  await pickThree(page);
  await expect(page.locator('#frame')).toContainText('title');
  const a = await clientPoint(page, 'title', 20, 12);
  await page.mouse.move(a.x, a.y);
  await expect.poll(() => page.evaluate(() => state.preview && state.preview.readable)).toBe('100X50X20');
  const first = await page.evaluate(() => state.preview.at);
  const b = await clientPoint(page, 'title', 40, 15);
  await page.mouse.move(b.x, b.y);
  await expect.poll(() => page.evaluate(() => state.preview.at)).not.toEqual(first);
  await page.mouse.click(b.x, b.y);
  await expect(page.locator('#notes li')).toHaveText(['100X50X20']);
  await expect.poll(() => page.evaluate(() => state.preview)).toBeNull();
});

test('a length from two points given with Shift+clicks', async ({ page }) => {
  await clickElement(page, 'width');
  const p1 = await clientPoint(page, 'figure', 160, 100);
  const p2 = await clientPoint(page, 'figure', 160, 130);
  await page.mouse.click(p1.x, p1.y, { modifiers: ['Shift'] });
  await expect(page.locator('#prompt')).toHaveText('포인트 입력 :');
  await page.mouse.click(p2.x, p2.y, { modifiers: ['Shift'] });
  await expect(page.locator('#prompt')).toHaveText('높이치수선택 :');
  await clickElement(page, 'height');
  await placeNote(page);
  const note = await page.locator('#notes li').first().textContent();
  const [, length] = note.match(/^100X([0-9.]+)X20$/);
  expect(Math.abs(Number(length) - 30)).toBeLessThan(1);
});

test('a typed length in Korean', async ({ page }) => {
  await clickElement(page, 'width');
  await page.locator('#keyin').fill('50미리');
  await page.locator('#keyin').press('Enter');
  await expect(page.locator('#prompt')).toHaveText('높이치수선택 :');
  await page.locator('#keyin').fill('20');
  await page.locator('#keyin').press('Enter');
  await placeNote(page);
  await expect(page.locator('#notes li')).toHaveText(['100X50미리X20']);
});

test('the end button at the note step switches the frame', async ({ page }) => {
  await pickThree(page);
  await expect(page.locator('#frame')).toContainText('title');
  const prompt = await page.locator('#prompt').textContent();
  const at = await clientPoint(page, 'figure', 200, 150);
  await page.mouse.click(at.x, at.y, { button: 'right' });
  await expect(page.locator('#frame')).toContainText('figure');
  await expect(page.locator('#prompt')).not.toHaveText(prompt);
  await page.locator('#end').click();
  await expect(page.locator('#frame')).toContainText('title');
  await expect(page.locator('#prompt')).toHaveText(prompt);
});

test('the settings dialog: the connector changed to * and confirmed', async ({ page }) => {
  await page.locator('#end').click();
  const dialog = page.locator('#dialog');
  await expect(dialog).toBeVisible();
  await expect(page.locator('#dialog-caption')).toHaveText('가로x세로x높이');
  await expect(dialog.locator('select[data-name="round"]')).toHaveValue('치수값 그대로');
  const connector = dialog.locator('input[data-name="connector"]');
  await expect(connector).toHaveValue('X');
  await connector.fill('*');
  await dialog.getByRole('button', { name: '확인' }).click();
  await expect(dialog).toBeHidden();
  await pickThree(page);
  await placeNote(page);
  await expect(page.locator('#notes li')).toHaveText(['100*50*20']);
});

test('the settings dialog: Cancel changes nothing', async ({ page }) => {
  await page.locator('#end').click();
  const dialog = page.locator('#dialog');
  await dialog.locator('input[data-name="connector"]').fill('#');
  await dialog.locator('select[data-name="round"]').selectOption('2');
  await dialog.getByRole('button', { name: '취소' }).click();
  await expect(dialog).toBeHidden();
  await pickThree(page);
  await placeNote(page);
  await expect(page.locator('#notes li')).toHaveText(['100X50X20']);
});
