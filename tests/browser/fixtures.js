// The page as every browser test opens it: a test fails on any
// Content-Security-Policy violation the page reports.
const base = require('@playwright/test');

const test = base.test.extend({
  page: async ({ page }, use) => {
    const violations = [];
    page.on('console', (message) => {
      if (/Content.Security.Policy/i.test(message.text())) violations.push(message.text());
    });
    await page.addInitScript(() => document.addEventListener('securitypolicyviolation', (event) => {
      console.error(`Content-Security-Policy violation: ${event.violatedDirective} ${event.blockedURI}`);
    }));
    await use(page);
    base.expect(violations).toEqual([]);
  },
});

module.exports = { test, expect: base.expect };
