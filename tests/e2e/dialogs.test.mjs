// The dialogs of the front end: what they show and what they answer. The
// server's answers to one event are replaced here by a scripted sequence of
// stops (selection list, date range, preview, progress), so that each kind
// of dialog is shown whatever the module's windows ask today; everything
// else (sign-in, pages, windows) is the real server.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { openFromMenu, openPage, settle, signIn } from './support/workstation.mjs';

const ws = useWorkstation();


const json = (body) => ({ status: 200, contentType: 'application/json; charset=utf-8', body: JSON.stringify(body) });
const finished = { windows: [], closed: [] };

// Answers POST /api/events with `first`, then each POST /api/dialog and
// /api/wait with the next stop of `rest`; records what the page posted.
async function script(page, first, rest) {
  const posted = [];
  const stops = [...rest];
  await page.route('**/api/events', (route) => {
    posted.push({ path: '/api/events', body: route.request().postDataJSON() });
    return route.fulfill(json(first));
  });
  for (const path of ['/api/dialog', '/api/wait']) {
    await page.route(`**${path}`, (route) => {
      posted.push({ path, body: route.request().postDataJSON() });
      return route.fulfill(json(stops.shift() ?? finished));
    });
  }
  return posted;
}

async function start(page) {
  await signIn(page, '01', '001', 'kq01001');
  return openFromMenu(page, '取消结算', 'w_svc305');
}

test('a selection list shows its rows as text and answers the row chosen with the keyboard', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  const win = await start(page);
  const posted = await script(page,
    { dialog: { id: 7, kind: 'selection', title: '选择班组', columns: ['cbmdm', 'cbmmc'], headings: ['代码', '名称'],
      rows: [['B01', '机修一班'], ['B02', '机修二班'], ['B03', '<b>钣金班</b>']], message: '请选择' }, windows: [], closed: [] },
    [finished]);
  await win.locator('[data-control="pb_1"] button').click();
  const dialog = page.locator('.dialog[data-kind="selection"]');
  await dialog.waitFor();
  assert.deepEqual(await dialog.locator('th').allTextContents(), ['代码', '名称']);
  assert.equal(await dialog.locator('tr[data-row="3"] td').nth(1).textContent(), '<b>钣金班</b>');
  assert.equal(await dialog.locator('b').count(), 0, 'no markup from data');
  await dialog.locator('table').focus();
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await dialog.waitFor({ state: 'detached' });
  await settle(page);
  assert.deepEqual(posted.find((p) => p.path === '/api/dialog').body, { dialog: 7, answer: 2 });
  await page.close();
});

test('Esc closes a selection list with nothing chosen and a date range with null', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  const win = await start(page);
  const posted = await script(page,
    { dialog: { id: 3, kind: 'selection', title: '选择', headings: ['代码'], rows: [['A']] }, windows: [], closed: [] },
    [{ dialog: { id: 4, kind: 'daterange', title: '选择日期', first: '2026/12/01', last: '2026/12/08' }, windows: [], closed: [] },
      finished]);
  await win.locator('[data-control="pb_1"] button').click();
  await page.locator('.dialog[data-kind="selection"]').waitFor();
  await page.keyboard.press('Escape');
  const range = page.locator('.dialog[data-kind="daterange"]');
  await range.waitFor();
  await page.keyboard.press('Escape');
  await range.waitFor({ state: 'detached' });
  await settle(page);
  const answers = posted.filter((p) => p.path === '/api/dialog').map((p) => p.body);
  assert.deepEqual(answers, [{ dialog: 3, answer: 0 }, { dialog: 4, answer: null }]);
  await page.close();
});

test('a date range is checked in the page and answered as first@last', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  const win = await start(page);
  const posted = await script(page,
    { dialog: { id: 5, kind: 'daterange', title: '选择日期', first: '2026/12/01', last: '2026/12/08' }, windows: [], closed: [] },
    [finished]);
  await win.locator('[data-control="pb_1"] button').click();
  const range = page.locator('.dialog[data-kind="daterange"]');
  await range.waitFor();
  const [first, last] = [range.locator('input').nth(0), range.locator('input').nth(1)];
  assert.equal(await first.inputValue(), '2026/12/01');
  await first.fill('20261210');  // typed digits get their slashes
  assert.equal(await first.inputValue(), '2026/12/10');
  await range.getByRole('button', { name: '确定' }).click();
  assert.match(await range.locator('[role="alert"]').textContent(), /起始日期不能晚于终止日期/);
  await first.fill('2026/11/01');
  await last.fill('2026/11/30');
  await range.getByRole('button', { name: '确定' }).click();
  await range.waitFor({ state: 'detached' });
  await settle(page);
  assert.deepEqual(posted.filter((p) => p.path === '/api/dialog').map((p) => p.body), [{ dialog: 5, answer: '2026/11/01@2026/11/30' }]);
  await page.close();
});

test('a preview shows its pages and answers 1 when closed; progress shows while the server is busy', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  const win = await start(page);
  let releaseWait;
  const held = new Promise((r) => { releaseWait = r; });
  const posted = await script(page,
    { dialog: { id: 8, kind: 'preview', title: '打印预览', dataobject: 'd_svc305_01', pdf: '/api/dialogs/8/pdf',
      html: '<div class="kq-dw kq-report"><div class="kq-page"><div class="kq-title">结算单</div></div></div>' }, windows: [], closed: [] },
    [{ busy: true, progress: { text: '正在取消结算，请稍候...' }, windows: [], closed: [] }]);
  // The wait after the progress stop is held until the test saw the indicator.
  await page.unroute('**/api/wait');
  await page.route('**/api/wait', async (route) => {
    posted.push({ path: '/api/wait', body: route.request().postDataJSON() });
    await held;
    return route.fulfill(json(finished));
  });
  await win.locator('[data-control="pb_1"] button').click();
  const preview = page.locator('.dialog[data-kind="preview"]');
  await preview.waitFor();
  assert.equal(await preview.locator('.kq-page .kq-title').textContent(), '结算单');
  await preview.getByRole('button', { name: '关闭' }).click();
  await page.locator('#progress:not([hidden])').waitFor();
  assert.equal(await page.textContent('#progress-text'), '正在取消结算，请稍候...');
  releaseWait();
  await page.locator('#progress').waitFor({ state: 'hidden' });
  await settle(page);
  assert.deepEqual(posted.map((p) => p.path), ['/api/events', '/api/dialog', '/api/wait']);
  assert.deepEqual(posted[1].body, { dialog: 8, answer: 1 });
  await page.close();
});

test('a heading click is sent with row 0 and its column; a message box answers the button chosen', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  const win = await start(page);
  const posted = await script(page,
    { dialog: { id: 2, kind: 'messagebox', title: '提示信息', text: '确实要取消结算吗?', icon: 'question', buttons: ['是', '否'], default: 2 },
      windows: [], closed: [] }, [finished]);
  await win.locator('[data-control="dw_display"] th[data-column="cwtsbh"]').click();
  const box = page.locator('.dialog[data-kind="messagebox"]');
  await box.waitFor();
  assert.deepEqual(await box.locator('button').allTextContents(), ['是', '否']);
  assert.equal(await page.evaluate(() => document.activeElement.textContent), '否', 'the default button has the focus');
  await box.getByRole('button', { name: '是' }).click();
  await settle(page);
  assert.deepEqual(posted[0].body, { window: Number(await win.getAttribute('data-window-id')), control: 'dw_display', event: 'clicked', row: 0, column: 'cwtsbh' });
  assert.deepEqual(posted[1].body, { dialog: 2, answer: 1 });
  await page.close();
});
