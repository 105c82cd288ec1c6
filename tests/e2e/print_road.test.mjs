// The road of a cashier at 打印结算单: a slip previewed by double-click, the
// same slip printed from the menu in the copies typed into 打印份数 (the
// browser's print gets every page that many times), and the exit pass of a
// history work order from the date-range list.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { openFromMenu, openPage, settle, shopSql, signIn } from './support/workstation.mjs';

const ws = useWorkstation();

const sql = (query) => shopSql(ws.shop.db, query);

// window.print of the page records what the print area holds instead of opening a dialog.
async function recordPrints(page) {
  await page.evaluate(() => {
    window.printed = [];
    window.print = () => {
      const area = document.getElementById('print-area');
      window.printed.push({ pages: area.querySelectorAll('.kq-page').length, text: area.textContent });
      window.dispatchEvent(new Event('afterprint'));
    };
  });
}

async function closePreview(page) {
  const preview = page.locator('.dialog[data-kind="preview"]');
  await preview.getByRole('button', { name: '关闭' }).click();
  await preview.waitFor({ state: 'detached' });
  await settle(page);
}

test('a slip is previewed by double-click and printed from the menu in its copies; an exit pass from the date-range list', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  await recordPrints(page);
  const win = await openFromMenu(page, '打印结算单', 'w_svc309');
  const grid = win.locator('[data-control="dw_1"]');
  const first = grid.locator('tr.kq-row').first();
  const bh = (await first.locator('td[data-column="cwtsbh"]').textContent()).trim();
  assert.match(bh, /^\S{13}$/);

  await first.dblclick();
  const preview = page.locator('.dialog[data-kind="preview"]');
  await preview.waitFor();
  assert.match(await preview.locator('.kq-page').first().textContent(), new RegExp(bh));
  assert.deepEqual(await page.evaluate(() => window.printed), [], 'a double-click prints nothing');
  await closePreview(page);

  await win.locator('[data-control="em_1"] input').fill('2');
  await win.locator('.commands button', { hasText: '打印结算单' }).click();
  await page.waitForFunction(() => window.printed.length === 1);
  await preview.waitFor({ state: 'detached' });
  await settle(page);
  const [printed] = await page.evaluate(() => window.printed);
  assert.ok(printed.pages >= 2 && printed.pages % 2 === 0, `pages printed: ${printed.pages}`);
  assert.match(printed.text, new RegExp(bh));

  // Headings: a click sorts by one column (once, not twice over), Ctrl+click adds one.
  const amount = grid.locator('th[data-column="nhjje"]');
  const plate = grid.locator('th[data-column="cpzh"]');
  await amount.click();
  await settle(page);
  assert.equal(await amount.getAttribute('aria-sort'), 'ascending');
  await plate.click({ modifiers: ['Control'] });
  await settle(page);
  assert.equal(await amount.getAttribute('aria-sort'), 'ascending');
  assert.equal(await plate.getAttribute('aria-sort'), 'ascending');
  await amount.click();  // without Ctrl: that column alone again
  await settle(page);
  assert.equal(await amount.getAttribute('aria-sort'), 'ascending');
  assert.equal(await plate.getAttribute('aria-sort'), null);
  await amount.click();
  await settle(page);
  assert.equal(await amount.getAttribute('aria-sort'), 'descending');

  // The date-range list reaches a history order; its exit pass is previewed.
  const history = sql("select cwtsbh from svcb20c_h where cgsh = '01' and cwxzt = '1' order by djsrq limit 1");
  assert.ok(history, 'the demo has a settled history order');
  const settledOn = sql(`select substr(djsrq, 1, 10) from svcb20c_h where cwtsbh = '${history}'`).replaceAll('-', '/');
  await win.locator('.commands button', { hasText: '全部' }).click();
  const range = page.locator('.dialog[data-kind="daterange"]');
  await range.waitFor();
  await range.locator('input').nth(0).fill(settledOn);
  await range.locator('input').nth(1).fill(settledOn);  // that day: a short list
  await range.getByRole('button', { name: '确定' }).click();
  await range.waitFor({ state: 'detached' });
  await settle(page);
  await win.locator('.commands button', { hasText: '当前' }).waitFor();
  await grid.locator('tr.kq-row', { hasText: history }).click();
  await settle(page);
  await win.locator('.commands button', { hasText: '打印出门证' }).click();
  await preview.waitFor();
  assert.match(await preview.locator('.kq-page').first().textContent(), new RegExp(history));
  // Chromium shows the printout's PDF in the preview; 打印 prints that document.
  const pdfView = preview.locator('iframe.preview-pdf');
  await pdfView.waitFor();
  assert.equal(await pdfView.evaluate((f) => f.src.startsWith('blob:')), true);
  await pdfView.evaluate((f) => {
    f.contentWindow.print = () => window.printed.push({ pdf: true });
  });
  await preview.getByRole('button', { name: '打印' }).click();
  await page.waitForFunction(() => window.printed.length === 2);
  assert.deepEqual((await page.evaluate(() => window.printed))[1], { pdf: true });
  await closePreview(page);
  assert.deepEqual(page.problems, []);
  await page.close();
});
