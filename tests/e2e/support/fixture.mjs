// The workstation of one test file: a demo shop (`demo`: extra arguments of
// `db demo`), `kq_svc_309 serve` on it and, unless `browser` is false, a
// headless Chromium; set up before the file's tests and removed after them.
// `prepare(ws)` runs once the shop exists and before the server starts
// (files beside the shop); `ws.cleanup`, when a test file sets it, runs
// before the shop is removed.
import { after, before } from 'node:test';
import { launch } from './browser.mjs';
import { demoShop, startServer } from './server.mjs';

export function useWorkstation({ demo = [], browser = true, prepare } = {}) {
  const ws = {};
  before(async () => {
    ws.shop = demoShop(demo);
    if (prepare) await prepare(ws);
    ws.server = await startServer(ws.shop);
    if (browser) ws.browser = await launch();
  });
  after(async () => {
    await ws.browser?.close();
    await ws.server?.stop();
    if (ws.cleanup) await ws.cleanup();
    ws.shop?.cleanup();
  });
  return ws;
}
