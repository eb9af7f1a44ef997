// The page as a drafter finds it: in the browser's language or the one
// chosen, saying when the command has ended, deaf to a slip of the Enter
// key, and with the whole sheet one key away.
const { test, expect } = require('./fixtures');
const { clientPoint, clickElement, pickThree, placeNote, openTheBoxForEachTest } = require('./actions');

openTheBoxForEachTest(test);

test.describe('in a Korean browser', () => {
  test.use({ locale: 'ko-KR' });

  test('the page speaks Korean, switches to English, and keeps the choice', async ({ page }) => {
    await expect(page.locator('html')).toHaveAttribute('lang', 'ko');
    await expect(page.locator('#start')).toHaveText('시작');
    await expect(page.locator('#frame')).toHaveText('도형프레임');
    await page.locator('#language').click();
    await expect(page.locator('html')).toHaveAttribute('lang', 'en');
    await expect(page.locator('#start')).toHaveText('Start');
    await expect(page.locator('#frame')).toHaveText('figure frame');
    await page.reload();
    await expect(page.locator('#start')).toHaveText('Start');
  });

  test('the end of the command is said, a click then is refused in Korean, Start begins again', async ({ page }) => {
    await pickThree(page);
    await placeNote(page);
    await expect(page.locator('#notes li')).toHaveText(['100X50X20']);
    await expect(page.locator('#prompt')).toHaveText('명령이 끝났습니다. [시작]을 누르면 다시 합니다.');
    await expect(page.locator('#start')).toHaveClass(/offered/);
    await clickElement(page, 'width');
    await expect(page.locator('#hint')).toHaveText('실행 중인 명령이 없습니다. [시작]을 누르십시오.');
    await page.locator('#start').click();
    await expect(page.locator('#prompt')).toHaveText('가로치수선택 : (종료버튼:Dialog)');
    await expect(page.locator('#hint')).toHaveText('');
    await expect(page.locator('#start')).not.toHaveClass(/offered/);
  });

  test("a refusal of the server in Korean: another tab's event while the dialog is open", async ({ page }) => {
    await page.locator('#end').click();
    await expect(page.locator('#dialog')).toBeVisible();
    await page.evaluate(() => play('point 1 1'));
    await expect(page.locator('#error')).toHaveText('설정 대화상자가 열려 있습니다. [확인]이나 [취소]로 닫으십시오.');
  });
});

test('an English browser gets English', async ({ page }) => {
  await expect(page.locator('html')).toHaveAttribute('lang', 'en');
  await expect(page.locator('#quit')).toHaveText('Quit');
});

test('an Enter in the empty key-in box sends nothing', async ({ page }) => {
  await clickElement(page, 'width');
  await expect(page.locator('#prompt')).toHaveText('세로치수선택 :');
  await page.locator('#keyin').click();
  await page.keyboard.press('Enter');
  await page.keyboard.type('  ');
  await page.keyboard.press('Enter');
  await clickElement(page, 'length');
  await expect(page.locator('#prompt')).toHaveText('높이치수선택 :');
  await clickElement(page, 'height');
  await placeNote(page);
  await expect(page.locator('#notes li')).toHaveText(['100X50X20']);
});

test('Home and the fit button bring back the whole sheet after zooming and panning', async ({ page }) => {
  const whole = await page.evaluate(() => ({ ...sheet.view }));
  const zoomAway = async () => {
    const at = await clientPoint(page, 'figure', 20, 20);
    await page.mouse.move(at.x, at.y);
    for (let i = 0; i < 3; ++i) await page.mouse.wheel(0, -100);
    await expect.poll(() => page.evaluate(() => sheet.view.scale)).toBeGreaterThan(whole.scale * 1.5);
    await page.mouse.down({ button: 'middle' });
    await page.mouse.move(at.x + 60, at.y + 40);
    await page.mouse.up({ button: 'middle' });
  };
  await zoomAway();
  await page.keyboard.press('Home');
  expect(await page.evaluate(() => sheet.view)).toEqual(whole);
  await zoomAway();
  await page.locator('#fit').click();
  expect(await page.evaluate(() => sheet.view)).toEqual(whole);
});

test('a lit dimension keeps its value readable', async ({ page }) => {
  const at = await page.evaluate(() => {
    const it = sheet.byName.get('width');
    const [x, y] = sheet.toScreen(sheet.items[it].tx, sheet.items[it].ty);
    const r = sheet.overlay.getBoundingClientRect();
    return { x: r.left + x, y: r.top + y };
  });
  const width = await page.evaluate(() => sheet.pickPoint('width'));
  await page.mouse.move(width.x, width.y);
  await expect.poll(() => page.evaluate(() => sheet.hovered && sheet.hovered.name)).toBe('width');
  // Around the text's middle the overlay holds white rim as well as the lit color.
  const colors = await page.evaluate(({ x, y }) => {
    const canvas = sheet.overlay;
    const r = canvas.getBoundingClientRect();
    const ratio = canvas.width / r.width;
    const data = canvas.getContext('2d').getImageData(Math.round((x - r.left - 12) * ratio),
      Math.round((y - r.top - 6) * ratio), Math.round(24 * ratio), Math.round(12 * ratio)).data;
    let white = 0, lit = 0;
    for (let i = 0; i < data.length; i += 4) {
      if (data[i + 3] < 200) continue;
      if (data[i] > 240 && data[i + 1] > 240 && data[i + 2] > 240) ++white;
      else if (data[i] > 200 && data[i + 2] < 80) ++lit;
    }
    return { white, lit };
  }, at);
  expect(colors.white).toBeGreaterThan(0);
  expect(colors.lit).toBeGreaterThan(0);
});

test('at 800x600 every button stays on one line', async ({ page }) => {
  await page.setViewportSize({ width: 800, height: 600 });
  const heights = await page.locator('header button').evaluateAll((buttons) => buttons.map((b) => b.getBoundingClientRect().height));
  expect(Math.max(...heights)).toBeLessThan(Math.min(...heights) * 1.5);
});
