// vekhost --serve played in Debian's own Chromium (no browser download).
const { defineConfig } = require('@playwright/test');

module.exports = defineConfig({
  testDir: '.',
  timeout: 30000,
  workers: 1,
  reporter: 'line',
  outputDir: process.env.PLAYWRIGHT_OUTPUT || 'test-results',
  use: {
    viewport: { width: 1200, height: 800 },
    launchOptions: { executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ['--no-sandbox'] },
  },
});
