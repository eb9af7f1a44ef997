// The settings dialog on the page, used as a Windows modal dialog is: every
// control takes a click at its place, Tab goes round its controls, Enter
// confirms, Escape cancels, and the focus goes back where it was.
const { test, expect } = require('./fixtures');
const { pickThree, placeNote, openTheBoxForEachTest } = require('./actions');

openTheBoxForEachTest(test);
test.beforeEach(async ({ page }) => {
  await page.locator('#end').click();
  await expect(page.locator('#dialog')).toBeVisible();
});

// The focused control's name (a radio button's is its label's), else its id.
const focused = (page) => page.evaluate(() => {
  const named = document.activeElement.closest('[data-name]');
  return named ? named.dataset.name : document.activeElement.id;
});

// Replaces the text of an edit box as a person does: click, select all, type.
async function typeInto(page, name, text) {
  await page.locator(`#dialog [data-name="${name}"]`).click();
  await page.keyboard.press('Control+A');
  await page.keyboard.type(text);
}

async function noteAfterCommand(page) {
  await pickThree(page);
  await placeNote(page);
  return page.locator('#notes li').first().textContent();
}

test('every control takes a click at its place, group boxes included', async ({ page }) => {
  const names = await page.locator('#dialog-client [data-name]:is(select, input, label)').evaluateAll(
    (elements) => elements.map((e) => e.dataset.name));
  expect(names).toHaveLength(13); // four lists, seven edit boxes, two radio buttons
  for (const name of names) {
    const control = page.locator(`#dialog-client [data-name="${name}"]`);
    await control.click(); // hit-tested: nothing may lie over the control
    const input = await control.evaluate((e) => (e.tagName === 'LABEL' ? e.querySelector('input') : e)
      === document.activeElement);
    expect(input, name).toBe(true);
    if (await control.evaluate((e) => e.tagName === 'SELECT')) {
      await page.keyboard.press('Escape'); // closes the list's own drop-down, not the dialog
      await expect(page.locator('#dialog'), name).toBeVisible();
    }
  }
});

test('a typed connector and Enter confirm; the focus goes back to the end button', async ({ page }) => {
  await typeInto(page, 'connector', '*');
  await page.keyboard.press('Enter');
  await expect(page.locator('#dialog')).toBeHidden();
  expect(await focused(page)).toBe('end');
  expect(await noteAfterCommand(page)).toBe('100*50*20');
});

test('Escape cancels what was typed and chosen', async ({ page }) => {
  await typeInto(page, 'connector', '#');
  await page.locator('#dialog [data-name="font-windows"]').click();
  await page.keyboard.press('Escape');
  await expect(page.locator('#dialog')).toBeHidden();
  expect(await noteAfterCommand(page)).toBe('100X50X20');
});

test('a list chosen with the keyboard, then OK clicked', async ({ page }) => {
  const round = page.locator('#dialog [data-name="round"]');
  await round.focus();
  await page.keyboard.press('ArrowUp'); // from 치수값 그대로, the last item, to the one above
  await expect(round).not.toHaveValue('치수값 그대로');
  await page.locator('#dialog').getByRole('button', { name: '확인' }).click();
  await expect(page.locator('#dialog')).toBeHidden();
  await page.locator('#end').click();
  await expect(page.locator('#dialog [data-name="round"]')).not.toHaveValue('치수값 그대로');
});

test('Tab and Shift+Tab go round the dialog and never reach the page behind it', async ({ page }) => {
  const first = await focused(page);
  const seen = [first];
  for (;;) {
    await page.keyboard.press('Tab');
    expect(await page.evaluate(() => document.getElementById('dialog').contains(document.activeElement))).toBe(true);
    const now = await focused(page);
    if (now === first) break;
    seen.push(now);
    expect(seen.length).toBeLessThan(40);
  }
  expect(seen).toEqual(expect.arrayContaining(['round', 'connector', 'prefix', 'ok', 'cancel']));
  await page.keyboard.press('Shift+Tab');
  expect(await focused(page)).toBe(seen[seen.length - 1]);
  await page.keyboard.press('Tab');
  expect(await focused(page)).toBe(first);
});
