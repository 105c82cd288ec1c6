// The road of a rework record at the workstation: a workshop controller opens
// 返修处理, adds a record entirely with the keyboard (each code typed into
// its field brings its selection list, narrowed by typing, chosen with
// Enter), saves it, sees the item's rework flag set, and deletes it again
// with confirmation, which clears the flag; refused entries show their
// messages.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { columnTexts, expectMessage, openFromMenu, openPage, settle, shopSql, signIn } from './support/workstation.mjs';

const ws = useWorkstation();

const sql = (query) => shopSql(ws.shop.db, query);

// Types `value` into a field of the entry form and leaves it with Enter.
async function type(page, win, column, value) {
  const field = win.locator(`[data-control="dw_edit"] .kq-field.kq-edit[data-column="${column}"]`);
  await field.click();
  const input = field.locator('input');
  await input.fill(value);
  await input.press('Enter');
}

// In the selection list that comes, types `narrow` and takes the first row
// left with Enter; that row must begin with `expected`.
async function choose(page, narrow, expected = narrow) {
  const dialog = page.locator('.dialog[data-kind="selection"]');
  await dialog.waitFor();
  await page.keyboard.type(narrow);
  const shown = dialog.locator('tbody tr:not([hidden]) td:first-child');
  assert.equal(await shown.first().textContent(), expected);
  await page.keyboard.press('Enter');
  await dialog.waitFor({ state: 'detached' });
  await settle(page);
}

async function cancelList(page) {
  const dialog = page.locator('.dialog[data-kind="selection"]');
  await dialog.waitFor();
  await page.keyboard.press('Escape');
  await dialog.waitFor({ state: 'detached' });
  await settle(page);
}

const fieldText = (win, column) =>
  win.locator(`[data-control="dw_edit"] [data-column="${column}"]`).first().textContent().then((t) => t.trim());

async function addRecord(page, list) {
  await list.locator('.toolbar button', { hasText: '增加' }).click();
  const win = page.locator('.window[data-class="w_svc304_01"]');
  await win.waitFor();
  await settle(page);
  return win;
}

async function save(win) {
  await win.locator('.toolbar button', { hasText: '保存' }).click();
}

test('a rework record is entered with the keyboard, saved with its flag and deleted again', async () => {
  const bh = '1010000000001';
  const flag = () => sql(`select lfgbs from svcb20d where cwtsbh = '${bh}' and cwxxmdm = 'BY001'`);
  assert.equal(flag(), '0');
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const list = await openFromMenu(page, '返修处理', 'w_svc304');
  const win = await addRecord(page, list);

  await type(page, win, 'cwtsbh', '1');
  await choose(page, bh);
  await type(page, win, 'cwxxmdm', 'B');
  await choose(page, 'by001', 'BY001');
  assert.equal(await fieldText(win, 'cbmmc'), '机修一班');
  await type(page, win, 'cbzdm', 'B');
  await choose(page, 'B02');
  await type(page, win, 'czxrdm', '2');
  await choose(page, '钱进', '201');
  assert.equal(await fieldText(win, 'cgrmc'), '钱进');

  // A deduction one cent above the fee is refused as it is typed.
  const fee = Number((await fieldText(win, 'ngsf')).replace(/,/g, ''));
  await type(page, win, 'nkk', (fee + 0.01).toFixed(2));
  await expectMessage(page, '扣款金额不能大于工时费');
  await type(page, win, 'nkk', '10');
  await save(win);
  await settle(page);
  assert.equal(await page.locator('.dialog[data-kind="messagebox"]').count(), 0);
  assert.equal(sql(`select cbzdm || '/' || czxrdm from svcb50 where cwtsbh = '${bh}' and cwxxmdm = 'BY001'`), 'B02/201');
  assert.equal(flag(), '1');

  // The list shows it; deleted from there after confirmation, the flag is cleared.
  await win.locator('.toolbar button', { hasText: '关闭' }).click();
  await win.waitFor({ state: 'detached' });
  await settle(page);
  const grid = list.locator('[data-control="dw_display"]');
  assert.ok((await columnTexts(grid, 'cwtsbh')).includes(bh));
  await grid.locator('tr.kq-row', { hasText: bh }).click();
  await settle(page);
  await list.locator('.toolbar button', { hasText: '删除' }).click();
  const confirm = page.locator('.dialog[data-kind="messagebox"]');
  await confirm.waitFor();
  await confirm.locator('button[data-answer="1"]').click();
  await settle(page);
  assert.equal(sql(`select count(*) from svcb50 where cwtsbh = '${bh}'`), '0');
  assert.equal(flag(), '0');
  assert.ok(!(await columnTexts(grid, 'cwtsbh')).includes(bh));
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('refused entries show their messages and write nothing', async () => {
  const before = sql('select count(*) from svcb50');
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const list = await openFromMenu(page, '返修处理', 'w_svc304');
  const win = await addRecord(page, list);

  // A work order typed by hand, the list left with Esc.
  await type(page, win, 'cwtsbh', "1019999'99999");
  await cancelList(page);
  await save(win);
  await expectMessage(page, '委托书编号不存在!');

  // A real work order and item, the team cleared.
  await type(page, win, 'cwtsbh', '1');
  await choose(page, '1010000000002');
  await type(page, win, 'cwxxmdm', '0');
  const dialog = page.locator('.dialog[data-kind="selection"]');
  await dialog.waitFor();
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await dialog.waitFor({ state: 'detached' });
  await settle(page);
  await type(page, win, 'cbzdm', ' ');
  await cancelList(page);
  await save(win);
  await expectMessage(page, '班组代码不存在!');
  assert.equal(sql('select count(*) from svcb50'), before);
  assert.deepEqual(page.problems, []);
  await page.close();
});
