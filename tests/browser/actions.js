// What a drafter does on the page, with the mouse where a person would put it.
const { expect } = require('@playwright/test');
const { startSession } = require('./session');

// Where a point of a frame is on the screen.
function clientPoint(page, frame, x, y) {
  return page.evaluate(([frame, x, y]) => sheet.screenPoint(frame, x, y), [frame, x, y]);
}

// Clicks on a named element of the drawing (on its line, not beside it).
async function clickElement(page, name) {
  const at = await page.evaluate((name) => sheet.pickPoint(name), name);
  await page.mouse.click(at.x, at.y);
}

// The three dimensions picked in turn, each click as `click` makes it.
async function pickThree(page, click = clickElement) {
  await click(page, 'width');
  await expect(page.locator('#prompt')).toHaveText('세로치수선택 :');
  await click(page, 'length');
  await expect(page.locator('#prompt')).toHaveText('높이치수선택 :');
  await click(page, 'height');
  await expect(page.locator('#prompt')).toContainText('주기위치지시 혹은 주기선택');
}

async function placeNote(page) {
  const at = await clientPoint(page, 'title', 30, 12);
  await page.mouse.click(at.x, at.y);
}

// Opens the page on the session and waits until the drawing is drawn.
async function openPage(page, session) {
  await page.goto(session.url);
  await expect(page.locator('#prompt')).toHaveText('가로치수선택 : (종료버튼:Dialog)');
  await page.waitForFunction(() => performance.getEntriesByName('vekhost:drawing').length > 0);
}

// Each test of the file gets a box-example session with its page open; the
// session must end cleanly after it.
function openTheBoxForEachTest(test) {
  let session;
  test.beforeEach(async ({ page }) => {
    session = await startSession();
    await openPage(page, session);
  });
  test.afterEach(async () => {
    expect(await session.stop()).toBe(0);
  });
}

module.exports = { clientPoint, clickElement, pickThree, placeNote, openPage, openTheBoxForEachTest };
