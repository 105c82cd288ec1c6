// The road of a dispatch at the workstation: a workshop controller opens
// 派工处理, opens a work order in repair, gives one of its repair items a
// team and a main mechanic chosen in selection lists, saves, and sees the
// assignment after reopening; a work order without repair items is refused.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { columnTexts, expectMessage, openFromMenu, openPage, settle, shopSql, signIn } from './support/workstation.mjs';

const ws = useWorkstation();

const sql = (query) => shopSql(ws.shop.db, query);

// Opens the work order's repair items by double-clicking its row.
async function openItems(page, list, number) {
  await list.locator('[data-control="dw_1"] tr.kq-row', { hasText: number }).dblclick();
  const win = page.locator('.window[data-class="w_svc300_03"]');
  await win.waitFor();
  await settle(page);
  return win;
}

// Chooses the row of a selection list whose first cell is `code`, with the keyboard.
async function chooseInList(page, code) {
  const dialog = page.locator('.dialog[data-kind="selection"]');
  await dialog.waitFor();
  const codes = await dialog.locator('tbody tr td:first-child').allTextContents();
  const index = codes.indexOf(code);
  assert.ok(index >= 0, `${code} not offered: ${codes.join(', ')}`);
  for (let i = 0; i <= index; i++) await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await dialog.waitFor({ state: 'detached' });
  await settle(page);
}

test('a controller dispatches an item of a work order in repair and sees it after reopening', async () => {
  const bh = '1010000000001';
  assert.equal(sql(`select cbzdm || '/' || czxrdm from svcb20d where cwtsbh = '${bh}' and cwxxmdm = 'ZD001'`), 'B01/102');
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const list = await openFromMenu(page, '派工处理', 'w_svc301');
  assert.ok((await columnTexts(list.locator('[data-control="dw_1"]'), 'cwtsbh')).includes(bh));

  let win = await openItems(page, list, bh);
  const grid = win.locator('[data-control="dw_1"]');
  const item = grid.locator('tr.kq-row', { hasText: 'ZD001' });
  await item.click();
  await settle(page);
  await win.locator('[data-control="cb_1"] button').click();
  await chooseInList(page, 'B02');
  assert.equal((await item.locator('td[data-column="cbmmc"]').textContent()).trim(), '机修二班');
  assert.equal((await item.locator('td[data-column="cgrmc"]').textContent()).trim(), '');
  await item.locator('td[data-column="cgrmc"]').dblclick();
  await chooseInList(page, '201');
  assert.equal((await item.locator('td[data-column="cgrmc"]').textContent()).trim(), '钱进');
  await win.locator('[data-control="cb_3"] button').click();
  await expectMessage(page, '保存成功！');
  assert.equal(sql(`select cbzdm || '/' || czxrdm from svcb20d where cwtsbh = '${bh}' and cwxxmdm = 'ZD001'`), 'B02/201');

  await win.locator('[data-control="cb_4"] button').click();
  await win.waitFor({ state: 'detached' });
  await settle(page);
  win = await openItems(page, list, bh);
  const again = win.locator('[data-control="dw_1"] tr.kq-row', { hasText: 'ZD001' });
  assert.equal((await again.locator('td[data-column="cbmmc"]').textContent()).trim(), '机修二班');
  assert.equal((await again.locator('td[data-column="cgrmc"]').textContent()).trim(), '钱进');

  // A second dispatch while the repair-item window is open is refused.
  await page.locator('.tab', { hasText: '派工处理' }).click();
  await settle(page);
  await list.locator('[data-control="dw_1"] tr.kq-row', { hasText: '1010000000002' }).dblclick();
  await expectMessage(page, '请先关闭其它界面的【增加维修项目】！');
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('a work order without repair items is refused with its message', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const list = await openFromMenu(page, '派工处理', 'w_svc301');
  const row = list.locator('[data-control="dw_1"] tr.kq-row', { hasText: '2010000000003' });
  await row.click();
  await settle(page);
  await page.keyboard.press('Enter');
  await expectMessage(page, '该委托书没有维修项目，无需部门派工!');
  assert.equal(await page.locator('.window[data-class="w_svc300_03"]').count(), 0);

  // Unchecking 在修 lists the settled work orders instead.
  await list.locator('[data-control="cbx_1"] input').click();
  await settle(page);
  const numbers = await columnTexts(list.locator('[data-control="dw_1"]'), 'cwtsbh');
  assert.ok(!numbers.includes('2010000000003'));
  assert.ok(numbers.includes('1010000000006'));
  assert.deepEqual(page.problems, []);
  await page.close();
});
