// Headless Chromium from Debian's package, driven by playwright-core, with a
// fresh profile folder that is removed afterwards.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const CHROMIUM = '/usr/bin/chromium';

export async function launch() {
  if (!fs.existsSync(CHROMIUM)) throw new Error(`${CHROMIUM} is missing: install Debian's chromium (KQ_WITH_BROWSER=1 scripts/install_deps.sh)`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kq-e2e-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    viewport: { width: 1280, height: 800 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  context.setDefaultTimeout(30000);
  return {
    context,
    close: async () => {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}
