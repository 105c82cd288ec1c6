// A cashier's day in pictures: sign in, the list, a search, the settlement
// opened, the save confirmed, its outcome, and the list again, at the two
// screen sizes of the shop's PCs (1366×768 and 1920×1080). At each step the
// page is checked for what matters there (where the focus is, the one
// highlighted row, the texts) and a screenshot is kept in
// build/e2e-artifacts/walkthrough/ (KQ_E2E_ARTIFACTS names another folder).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { openFromMenu, openPage, settle, signIn } from './support/workstation.mjs';

const ARTIFACTS = path.join(process.env.KQ_E2E_ARTIFACTS
  || path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../build/e2e-artifacts'), 'walkthrough');

const ws = useWorkstation();

// Where the focus is: the control holding it, and what it is there.
async function focusOf(page) {
  return page.evaluate(() => {
    const a = document.activeElement;
    const control = a && a.closest('[data-control]');
    const field = a && a.closest('[data-column]');
    return {
      control: control ? control.dataset.control : '',
      column: field ? field.dataset.column : '',
      tag: a ? a.tagName.toLowerCase() : '',
      type: a && a.type ? a.type : '',
      value: a && 'value' in a ? a.value : '',
      search: !!(a && a.classList.contains('search-input')),
    };
  });
}

// The rows drawn highlighted and the grid's current row: one and the same.
async function highlightOf(grid) {
  return grid.evaluate((g) => ({
    current: Number(g.dataset.currentrow),
    highlighted: [...g.querySelectorAll('tr.kq-current, tr.kq-selected')].map((tr) => Number(tr.dataset.row)),
    bar: [...g.querySelectorAll('tr.kq-current.kq-selected')].map((tr) => Number(tr.dataset.row)),
  }));
}
async function assertOneHighlight(grid, step) {
  const h = await highlightOf(grid);
  assert.deepEqual(h.highlighted, [h.current], `${step}: the highlighted rows are the current row (${JSON.stringify(h)})`);
  assert.deepEqual(h.bar, [h.current], `${step}: the current row is drawn as the bar`);
}

async function shoot(page, size, step) {
  fs.mkdirSync(ARTIFACTS, { recursive: true });
  const file = path.join(ARTIFACTS, `${size}-${step}.png`);
  await page.screenshot({ path: file });
  assert.ok(fs.statSync(file).size > 2000, `${file} holds a picture`);
}

const counter = (win) => win.locator('.searchbar .record-count');

async function walk(size, number, { card }) {
  const [width, height] = size.split('x').map(Number);
  const page = await openPage(ws.browser, ws.server.url);
  await page.setViewportSize({ width, height });

  // Sign in.
  await page.selectOption('#signin-company', '01');
  await page.fill('#signin-operator', '001');
  await page.fill('#signin-password', 'kq01001');
  await shoot(page, size, '1-signin');
  await signIn(page, '01', '001', 'kq01001');

  // The list: the focus on the settlement date, one highlighted row, the counter.
  const list = await openFromMenu(page, '取消结算', 'w_svc305');
  const grid = list.locator('[data-control="dw_display"]');
  await grid.locator('tr.kq-row').first().waitFor();
  assert.equal((await focusOf(page)).control, 'em_1', 'the list opens with the focus on 结算日期');
  await assertOneHighlight(grid, 'list');
  const total = Number(await grid.getAttribute('data-rowcount'));
  assert.ok(total > 3, `the day's settlements are listed (${total})`);
  assert.equal(await counter(list).textContent(), `${total} / ${total}`);
  await shoot(page, size, '2-list');

  // Search: typing narrows to the work order; the counter says n / m.
  const box = list.locator('.searchbar .search-input');
  await box.fill(number);
  await grid.locator('tr.kq-row').filter({ hasText: number }).waitFor();
  await page.waitForFunction((g) => Number(g.dataset.rowcount) === 1, await grid.elementHandle());
  await settle(page);
  assert.equal(await counter(list).textContent(), `1 / ${total}`);
  assert.deepEqual(await grid.locator('tr.kq-row td[data-column="cwtsbh"]').allTextContents(), [number]);
  await assertOneHighlight(grid, 'search');
  assert.ok((await focusOf(page)).search, 'the focus stays in the search box while typing');
  await shoot(page, size, '3-search');

  // Open: from the box to the list, Enter opens the highlighted row.
  await box.press('ArrowDown');
  assert.equal((await focusOf(page)).control, 'dw_display');
  await page.keyboard.press('Enter');
  const win = page.locator('.window[data-class="w_svc305_01"]');
  await win.waitFor();
  await settle(page);
  assert.equal((await page.locator('.tab.active span').first().textContent()).trim(), `取消结算 ${number}`,
    'the tab names the work order');
  let focus = await focusOf(page);
  assert.deepEqual([focus.control, focus.column, focus.type], ['dw_edit', 'cwxzt', 'radio'],
    'the cancellation window opens with the focus on 结算状态');
  // The arrow keys change the status and the focus stays on it.
  const before = focus.value;
  await page.keyboard.press('ArrowDown');
  await settle(page);
  focus = await focusOf(page);
  assert.deepEqual([focus.control, focus.column], ['dw_edit', 'cwxzt'], 'the focus stays on 结算状态');
  assert.notEqual(focus.value, before, 'the arrow key chose another status');
  // Tab goes through the form in its order, then to the commands.
  const visited = [];
  for (let i = 0; i < 16 && !visited.includes('toolbar'); i++) {
    await page.keyboard.press('Tab');
    const name = await page.evaluate(() => {
      const a = document.activeElement;
      if (!a.closest('.window[data-class="w_svc305_01"]')) return `outside:${a.textContent.trim() || a.tagName}`;
      if (a.closest('.toolbar')) return 'toolbar';
      if (a.closest('.window-title')) return 'title';
      return a.closest('[data-control]')?.dataset.control ?? a.tagName;
    });
    if (visited[visited.length - 1] !== name) visited.push(name);
  }
  const at = (name) => visited.indexOf(name);
  assert.ok(at('mle_1') >= 0 && at('mle_1') < at('sle_1') && at('sle_1') < at('toolbar'),
    `Tab: reason, card number, then the commands (${visited.join(' → ')})`);
  assert.deepEqual(visited.filter((v) => v.startsWith('outside')), [], `Tab stays in the window (${visited.join(' → ')})`);
  await win.locator('[data-control="dw_edit"] label', { hasText: '未结' }).locator('input').click();
  await settle(page);
  assert.equal(await win.locator('[data-control="dw_edit"] input[type="radio"]:checked').getAttribute('value'), '0');
  await win.locator('[data-control="mle_1"] textarea').fill('客户要求重新结算');
  if (card) {  // 01/001 may cancel without the reader: 读 卡 takes the settlement's card
    await win.locator('[data-control="cb_2"] button').click();
    await settle(page);
    assert.equal(await win.locator('[data-control="sle_1"] input').inputValue(), card);
  }
  await shoot(page, size, '4-open');

  // Save: a confirmation (是/否), when the window asks for one, is answered 是.
  await win.locator('.toolbar button', { hasText: '保存' }).click();
  const dialog = page.locator('.dialog');
  const asked = await Promise.race([
    dialog.first().waitFor().then(() => true),
    settle(page).then(() => false),
  ]);
  if (asked && await dialog.locator('button', { hasText: '是' }).count()) {
    const text = await dialog.locator('.dialog-text').textContent();
    assert.ok(text.includes(number), `the confirmation names the work order: ${text}`);
    await shoot(page, size, '5-confirm');
    await dialog.locator('button', { hasText: '是' }).click();
    await dialog.first().waitFor({ state: 'detached' }).catch(() => {});
  }
  // Its outcome: a success message, when one is shown, says so.
  const outcome = await Promise.race([
    page.locator('.dialog[data-kind="messagebox"]').waitFor().then(() => true),
    settle(page).then(() => false),
  ]);
  if (outcome) {
    const text = (await page.locator('.dialog[data-kind="messagebox"] .dialog-text').textContent()).trim();
    assert.match(text, /成功|已取消/, `the message tells the outcome: ${text}`);
    await shoot(page, size, '6-success');
    await page.keyboard.press('Escape');
    await page.locator('.dialog[data-kind="messagebox"]').waitFor({ state: 'detached' });
  }
  await settle(page);
  assert.equal(await page.locator('.dialog').count(), 0, 'no message is left open (a refusal would be)');

  // Back in the list: refreshed without the work order, one highlighted row.
  if (!(await list.isVisible())) await page.locator(`.tab[data-window-id="${await list.getAttribute('data-window-id')}"]`).click();
  await box.fill('');
  await box.press('Escape');
  await settle(page);
  await page.waitForFunction((want) => document.querySelector('.window[data-class="w_svc305"] .record-count')?.textContent === want,
    `${total - 1} / ${total - 1}`);
  assert.equal(await counter(list).textContent(), `${total - 1} / ${total - 1}`, 'the list lost the cancelled work order');
  assert.ok(!(await grid.locator('tr.kq-row td[data-column="cwtsbh"]').allTextContents()).includes(number));
  await assertOneHighlight(grid, 'back in the list');
  await shoot(page, size, '7-list-again');
  assert.deepEqual(page.problems, []);
  await page.close();
}

test('the walk-through at 1366×768: a card settlement', async () => {
  await walk('1366x768', '1010000000006', { card: '8801000001' });
});

test('the walk-through at 1920×1080: a cash settlement', async () => {
  await walk('1920x1080', '1010000000005', { card: null });
});
