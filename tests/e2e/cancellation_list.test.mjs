// The cancellation list 取消结算 (w_svc305) at the workstation.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { api, columnTexts, openFromMenu, openPage, settle, signIn, today, tokenOf } from './support/workstation.mjs';

const ws = useWorkstation();


test('a date after 2045/01/01 is refused with 日期输入错误!', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  const grid = win.locator('[data-control="dw_display"]');
  const before = await columnTexts(grid, 'cwtsbh');
  assert.ok(before.length > 0);

  const date = win.locator('[data-control="em_1"] input');
  await date.fill('2045/01/02');
  await date.press('Enter');
  const box = page.locator('.dialog[data-kind="messagebox"]');
  await box.waitFor();
  assert.equal(await box.locator('.dialog-text').textContent(), '日期输入错误!');
  await page.keyboard.press('Escape');  // Esc closes the box
  await box.waitFor({ state: 'detached' });
  await settle(page);
  assert.deepEqual(await columnTexts(grid, 'cwtsbh'), before, 'the list stays as it was');

  // 2045/01/01 itself is accepted: no message.
  await date.fill('2045/01/01');
  await date.press('Enter');
  await settle(page);
  assert.equal(await page.locator('.dialog').count(), 0);
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('without CJ the date is disabled, only today is listed, and typing through the protocol is refused', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '003', 'kq01003');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  const date = win.locator('[data-control="em_1"] input');
  assert.equal(await date.isDisabled(), true);
  assert.equal(await date.inputValue(), today());

  const grid = win.locator('[data-control="dw_display"]');
  const dates = await columnTexts(grid, 'djsrq');
  assert.ok(dates.length > 0, 'today has settlements in the demo');
  assert.deepEqual([...new Set(dates)], [today()]);
  const numbers = await columnTexts(grid, 'cwtsbh');
  assert.ok(!numbers.includes('1010000000021'), 'yesterday\'s settlement is not listed');

  // A script that types into the disabled field is refused by the ws.server.
  const token = await tokenOf(page);
  const id = Number(await win.getAttribute('data-window-id'));
  const refused = await api(ws.server.url, token, 'POST', '/api/events',
    { window: id, control: 'em_1', event: 'ue_key', key: 13, text: today(-1) });
  assert.equal(refused.status, 403);
  assert.equal(refused.body.error.status, 403);
  const state = await api(ws.server.url, token, 'GET', '/api/windows');
  const list = state.body.windows.find((w) => w.id === id);
  assert.equal(list.controls.find((c) => c.name === 'em_1').text, today());
  assert.equal(list.controls.find((c) => c.name === 'dw_display').rowcount, numbers.length);
  await page.close();
});

test('with CJ another day is listed and a settlement opens for cancellation', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  const date = win.locator('[data-control="em_1"] input');
  assert.equal(await date.isEnabled(), true);
  await date.fill(today(-1));
  await date.press('Enter');
  await settle(page);

  const grid = win.locator('[data-control="dw_display"]');
  const dates = await columnTexts(grid, 'djsrq');
  assert.ok(dates.includes(today(-1)), `dates: ${dates}`);
  assert.ok(dates.every((d) => d <= today(-1)), `nothing after the day asked for: ${dates}`);
  assert.ok((await columnTexts(grid, 'cwtsbh')).includes('1010000000021'));

  // The query button takes the date typed last (sent before the click).
  await date.fill(today(-2));
  await win.locator('[data-control="pb_1"] button').click();
  await settle(page);
  const earlier = await columnTexts(grid, 'djsrq');
  assert.ok(earlier.length > 0 && earlier.every((d) => d <= today(-2)), `dates: ${earlier}`);
  assert.ok(!(await columnTexts(grid, 'cwtsbh')).includes('1010000000021'));
  await date.fill(today(-1));
  await date.press('Enter');
  await settle(page);

  await grid.locator('tr.kq-row', { hasText: '1010000000021' }).dblclick();
  const edit = page.locator('.window[data-class="w_svc305_01"]');
  await edit.waitFor();
  await settle(page);
  const form = edit.locator('[data-control="dw_edit"]');
  assert.match(await form.textContent(), /1010000000021/);

  // A radio choice of the form is an item change the server keeps.
  const unsettled = form.locator('input[type="radio"][value="0"]');
  assert.equal(await unsettled.isChecked(), false);
  await unsettled.click();
  await settle(page);
  assert.equal(await form.locator('input[type="radio"][value="0"]').isChecked(), true);
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('the date field\'s calendar picks a day, and the list downloads as PDF', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '004', 'kq01004');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  await win.locator('[data-control="em_1"] input').dblclick();
  const calendar = page.locator('.dialog[data-kind="calendar"]');
  await calendar.waitFor();
  const day = today(-3);
  if ((await calendar.locator(`button[data-date="${day}"]`).count()) === 0) {
    await calendar.getByRole('button', { name: '上月' }).click();
  }
  await calendar.locator(`button[data-date="${day}"]`).click();
  await calendar.waitFor({ state: 'detached' });
  await settle(page);
  assert.equal(await win.locator('[data-control="em_1"] input').inputValue(), day);
  const dates = await columnTexts(win.locator('[data-control="dw_display"]'), 'djsrq');
  assert.ok(dates.length > 0 && dates.every((d) => d <= day), `dates: ${dates}`);

  const download = page.waitForEvent('download');
  await win.getByRole('button', { name: '导出 PDF' }).click();
  const file = await download;
  assert.equal(file.suggestedFilename(), 'd_svc305_01.pdf');
  const bytes = await (await import('node:fs')).promises.readFile(await file.path());
  assert.equal(bytes.subarray(0, 5).toString(), '%PDF-');
  await page.close();
});

test('a click on a heading sorts the list, a second click the other way', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  const grid = win.locator('[data-control="dw_display"]');
  const heading = grid.locator('th[data-column="nhjje"]');
  const amounts = async () => (await columnTexts(grid, 'nhjje')).map((t) => Number(t.replaceAll(',', '')));
  const before = await amounts();
  assert.ok(before.length > 5 && before.every((a) => !Number.isNaN(a)), `amounts: ${before}`);
  assert.equal(await heading.getAttribute('aria-sort'), null);

  await heading.click();
  await settle(page);
  assert.equal(await heading.getAttribute('aria-sort'), 'ascending');
  const up = await amounts();
  assert.deepEqual(up, [...before].sort((a, b) => a - b));

  await heading.click();
  await settle(page);
  assert.equal(await heading.getAttribute('aria-sort'), 'descending');
  assert.deepEqual(await amounts(), [...before].sort((a, b) => b - a));

  // Another column's heading sorts by it alone, ascending; the arrow moves.
  await grid.locator('th[data-column="cwtsbh"]').click();
  await settle(page);
  assert.equal(await grid.locator('th[data-column="cwtsbh"]').getAttribute('aria-sort'), 'ascending');
  assert.equal(await heading.getAttribute('aria-sort'), null);
  const numbers = await columnTexts(grid, 'cwtsbh');
  assert.deepEqual(numbers, [...numbers].sort());

  // The order stays when another date is listed.
  const date = win.locator('[data-control="em_1"] input');
  await date.fill(today(-1));
  await date.press('Enter');
  await settle(page);
  const again = await columnTexts(grid, 'cwtsbh');
  assert.deepEqual(again, [...again].sort());
  assert.equal(await grid.locator('th[data-column="cwtsbh"]').getAttribute('aria-sort'), 'ascending');
  assert.deepEqual(page.problems, []);
  await page.close();
});
