// The command as a drafter plays it in the browser, with the mouse and the
// keyboard.
const { test, expect } = require('./fixtures');
const { clientPoint, clickElement, pickThree, placeNote, openTheBoxForEachTest } = require('./actions');

openTheBoxForEachTest(test);

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
  await page.locator('#keyin').click();
  await page.keyboard.type('50미리');
  await page.keyboard.press('Enter');
  await expect(page.locator('#prompt')).toHaveText('높이치수선택 :');
  await page.keyboard.type('20');
  await page.keyboard.press('Enter');
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
