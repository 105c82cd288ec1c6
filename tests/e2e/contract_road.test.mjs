// The road of a contract and an inspection sheet at the workstation
// (委托书打印工单, w_svc310): the first 合同 of a current work order gives it
// a number and previews the current-order contract, the second reuses the
// number; 检验单 in the full list previews the history-aware sheet and
// writes nothing.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { openFromMenu, openPage, settle, shopSql, signIn } from './support/workstation.mjs';

const ws = useWorkstation();

const sql = (query) => shopSql(ws.shop.db, query);

// Records the previews the server asks the page to show, by their data window.
function watchPreviews(page) {
  const shown = [];
  page.on('response', async (res) => {
    if (!res.url().includes('/api/') || !(res.headers()['content-type'] || '').includes('json')) return;
    try {
      const body = await res.json();
      if (body?.dialog?.kind === 'preview') shown.push(body.dialog.dataobject);
    } catch { /* not a JSON body */ }
  });
  return shown;
}

async function command(page, win, text) {
  await win.locator('.commands button', { hasText: text }).click();
}

// Waits for the preview, checks that it shows `expected`, and closes it.
async function closePreview(page, expected) {
  const preview = page.locator('.dialog[data-kind="preview"]');
  await preview.waitFor();
  if (expected) assert.ok((await preview.locator('.preview-pages').textContent()).includes(expected), `preview shows ${expected}`);
  await preview.getByRole('button', { name: '关闭' }).click();
  await preview.waitFor({ state: 'detached' });
  await settle(page);
}

async function pick(win, number) {
  const row = win.locator('[data-control="dw_1"] tr.kq-row', { hasText: number });
  await row.click();
  await settle(win.page());
}

test('the first contract of a current work order is numbered, the second reuses it; a full-list sheet writes nothing', async () => {
  const bh = sql("select cwtsbh from svcb20c where cgsh = '01' and chth = '' and cjydh = '' order by cwtsbh limit 1");
  assert.ok(bh);
  // Numbers are year, month and counter: the demo's contract numbers show the business month.
  const month = sql("select substr(chth, 1, 6) from svcb20c where cgsh = '01' and chth <> '' limit 1");
  const counter = Number(sql("select nzhh from kq_counter where cgsh = '01' and cmk = 'SVC' and cjm = 'NHTH'"));
  const expected = month + String(counter + 1).padStart(4, '0');

  const page = await openPage(ws.browser, ws.server.url);
  const previews = watchPreviews(page);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '委托书打印工单', 'w_svc310');
  await pick(win, bh);
  await command(page, win, '合同');
  await closePreview(page, expected);
  assert.equal(sql(`select chth from svcb20c where cwtsbh = '${bh}'`), expected);
  assert.deepEqual(previews, ['d_svc310_03_now']);

  await command(page, win, '合同');
  await closePreview(page, expected);
  assert.equal(sql(`select chth from svcb20c where cwtsbh = '${bh}'`), expected);
  assert.equal(Number(sql("select nzhh from kq_counter where cgsh = '01' and cmk = 'SVC' and cjm = 'NHTH'")), counter + 1);
  assert.deepEqual(previews, ['d_svc310_03_now', 'd_svc310_03']);

  // The full list of a date range: its inspection sheet is previewed and never numbered.
  const old = sql("select cwtsbh from svcb20c_h where cgsh = '01' and cjydh = '' order by dsxrq desc limit 1");
  const from = sql(`select strftime('%Y/%m/%d', dsxrq) from svcb20c_h where cwtsbh = '${old}'`);
  const sheets = sql("select nzhh from kq_counter where cgsh = '01' and cmk = 'SVC' and cjm = 'NJYDH'");
  await command(page, win, '全部');
  const range = page.locator('.dialog[data-kind="daterange"]');
  await range.waitFor();
  await range.locator('input').nth(0).fill(from);
  await range.getByRole('button', { name: '确定' }).click();
  await range.waitFor({ state: 'detached' });
  await settle(page);
  assert.equal(await win.locator('.commands button', { hasText: '当前' }).count(), 1);
  await pick(win, old);
  await command(page, win, '检验单');
  await closePreview(page, old);
  assert.deepEqual(previews, ['d_svc310_03_now', 'd_svc310_03', 'd_svc310_05']);
  assert.equal(sql(`select cjydh from svcb20c_h where cwtsbh = '${old}'`), '');
  assert.equal(sql("select nzhh from kq_counter where cgsh = '01' and cmk = 'SVC' and cjm = 'NJYDH'"), sheets);

  assert.deepEqual(page.problems, []);
  await page.close();
});
