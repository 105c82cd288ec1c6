// What a person does at the workstation, as page steps, and the protocol
// calls a script makes.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { psql, serverShops } from './server.mjs';

export function today(offsetDays = 0) {
  const d = new Date();
  d.setDate(d.getDate() + offsetDays);
  const p = (n) => String(n).padStart(2, '0');
  return `${d.getFullYear()}/${p(d.getMonth() + 1)}/${p(d.getDate())}`;
}

// A new tab (its own session storage, so its own session) on the sign-in page.
export async function openPage(browser, url) {
  const page = await browser.context.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push(e.message));
  if (process.env.KQ_E2E_CPU_SLOWDOWN) {  // see README.md
    const cdp = await browser.context.newCDPSession(page);
    await cdp.send('Emulation.setCPUThrottlingRate', { rate: Number(process.env.KQ_E2E_CPU_SLOWDOWN) });
  }
  await page.goto(url);
  await page.waitForSelector('#signin-company option', { state: 'attached' });
  page.problems = problems;
  return page;
}

export async function signIn(page, company, operator, password) {
  await page.selectOption('#signin-company', company);
  await page.fill('#signin-operator', operator);
  await page.fill('#signin-password', password);
  await page.click('#signin-submit');
  await page.waitForSelector('#workspace:not([hidden]) #menu-items button');
}

// Waits until no event of the page is running.
export async function settle(page) {
  await page.waitForFunction(() => document.body.dataset.busy === 'false');
}

// Opens a window from the main menu by its title and returns its locator.
export async function openFromMenu(page, title, windowClass) {
  await page.getByRole('button', { name: title, exact: true }).click();
  const win = page.locator(`.window[data-class="${windowClass}"]`);
  await win.waitFor();
  await settle(page);
  return win;
}

// The texts of one column in the rows a grid has drawn.
export async function columnTexts(grid, column) {
  return grid.locator(`tr.kq-row td[data-column="${column}"]`).allTextContents();
}

// The session token of the page, for protocol calls.
export async function tokenOf(page) {
  const token = await page.evaluate(() => sessionStorage.getItem('kq.workstation.token'));
  assert.match(token ?? '', /^[0-9a-f]{64}$/);
  return token;
}

export async function api(url, token, method, path, body) {
  const res = await fetch(new URL(path, url), {
    method,
    headers: { Authorization: `Bearer ${token}`, 'Content-Type': 'application/json' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  return { status: res.status, body: await res.json() };
}

// The text the sqlite3 shell prints for `query` on the shop file `db` (the
// club's tables are kq_club_<table> in it); for a shop on a database server
// (demoShop() with KQ_E2E_DATABASE=postgresql), what psql prints (rows by
// lines, columns by "|", as the sqlite3 shell does), the club's tables read
// from the server's schema kq_club.
export function shopSql(db, query) {
  const server = serverShops.get(db);
  if (server) return psql(server, query.replace(/\bkq_club_(\w+)/g, 'kq_club.$1'));
  const r = spawnSync('sqlite3', [db, query], { encoding: 'utf8' });
  if (r.status !== 0) throw new Error(`sqlite3: ${r.stderr}`);
  return r.stdout.trim();
}

// Waits for a message box, checks its text (white space folded) and closes it with Esc.
export async function expectMessage(page, text) {
  const box = page.locator('.dialog[data-kind="messagebox"]');
  await box.waitFor();
  const shown = (await box.locator('.dialog-text').textContent()).replace(/\s+/g, ' ').trim();
  assert.equal(shown, text.replace(/\s+/g, ' ').trim());
  await page.keyboard.press('Escape');
  await box.waitFor({ state: 'detached' });
  await settle(page);
}
