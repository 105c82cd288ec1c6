// A long list scrolls: the grid draws only the rows in sight and asks the
// server for others as the person scrolls or moves with the keyboard. The
// demo's generated settlements all fall in the last 30 days, which the
// cancellation list of an operator with CJ shows: more than 100,000 rows.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { openFromMenu, openPage, settle, signIn } from './support/workstation.mjs';

const ws = useWorkstation({ demo: ['--scale', '120000', '--days', '30'] });


// Scrolls the grid so that `row` is in sight and waits until it is drawn.
async function scrollTo(grid, row) {
  await grid.evaluate((el, r) => {
    const h = Number(el.querySelector('[data-row-height]').dataset.rowHeight);
    el.scrollTop = r * h;
  }, row);
  await grid.locator(`tr.kq-row[data-row="${row}"]`).waitFor();
}

test('a list of more than 100,000 work orders scrolls to its end and back', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  const grid = win.locator('[data-control="dw_display"]');
  const rows = Number(await grid.getAttribute('data-rowcount'));
  assert.ok(rows >= 100000, `rows: ${rows}`);
  const drawn = await grid.locator('tr.kq-row').count();
  assert.ok(drawn > 0 && drawn < 1000, `only a window of rows is drawn (${drawn})`);
  // The table keeps the height of every row, so the scroll bar spans the list.
  const { height, rowHeight } = await grid.evaluate((el) => ({
    height: el.scrollHeight, rowHeight: Number(el.querySelector('[data-row-height]').dataset.rowHeight) }));
  assert.ok(height >= rows * rowHeight, `scroll height ${height} for ${rows} rows of ${rowHeight}px`);

  await scrollTo(grid, rows);
  const last = grid.locator(`tr.kq-row[data-row="${rows}"] td[data-column="cwtsbh"]`);
  assert.match(await last.textContent(), /^[0-9A-Z-]{13}$/);
  assert.equal(await grid.locator('tr.kq-row[data-row="1"]').count(), 0, 'the first rows are no longer drawn');

  const middle = Math.floor(rows / 2);
  await scrollTo(grid, middle);
  assert.match(await grid.locator(`tr.kq-row[data-row="${middle}"] td[data-column="cwtsbh"]`).textContent(), /^[0-9A-Z-]{13}$/);

  await scrollTo(grid, 1);
  assert.ok((await grid.locator('tr.kq-row').count()) < 1000);

  // A button held on the list (dragging its scroll bar, say) does not stop
  // the rows coming into sight from being drawn.
  const cell = await grid.locator('tr.kq-row[data-row="3"] td').first().boundingBox();
  await page.mouse.move(cell.x + 4, cell.y + cell.height / 2);
  await page.mouse.down();
  const far = Math.floor(rows / 3);
  await grid.evaluate((el, r) => {
    el.scrollTop = r * Number(el.querySelector('[data-row-height]').dataset.rowHeight);
  }, far);
  await grid.locator(`tr.kq-row[data-row="${far}"] td[data-column="cwtsbh"]`).waitFor({ timeout: 10000 });
  await page.mouse.up();
  assert.deepEqual(page.problems, []);
  await page.close();
});

// Flings the grid `frames` frames at `step` px a frame (down, then back
// up) and counts the frames whose rows in sight were not all drawn with
// their texts: what the person would see blank. Each frame moves the scroll
// and looks at once, before the page's scroll handlers run: the frame painted
// with the rows drawn by then.
async function fling(grid, frames, step) {
  return grid.evaluate((el, { frames, step }) => new Promise((done) => {
    const blank = [];
    const box = el.getBoundingClientRect();
    const head = el.querySelector('thead').getBoundingClientRect().height;
    const h = Number(el.querySelector('[data-row-height]').dataset.rowHeight);
    let frame = 0;
    const look = () => {
      const missing = [];
      for (let y = box.top + head + 2; y < box.bottom - 2; y += h / 2) {
        const row = document.elementFromPoint(box.left + 8, y)?.closest('tr');
        const text = row?.querySelector('td[data-column="cwtsbh"]')?.textContent ?? '';
        if (!row?.classList.contains('kq-row') || !/^[0-9A-Z-]{13}$/.test(text)) missing.push(Math.round(y - box.top));
      }
      if (missing.length) blank.push({ frame, scrollTop: el.scrollTop, missing });
    };
    const tick = () => {
      if (frame === 2 * frames) return done({ blank, top: el.scrollTop });
      el.scrollTop += frame < frames ? step : -step;
      frame += 1;
      look();
      requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  }), { frames, step });
}

test('a fast fling through 100,000 rows never shows blank rows, with a few requests for rows', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  const grid = win.locator('[data-control="dw_display"]');
  const rowRequests = [];
  page.on('request', (r) => { if (/\/controls\/dw_display\/rows\?/.test(r.url())) rowRequests.push(r.url()); });
  const h = Number(await grid.locator('[data-row-height]').getAttribute('data-row-height'));

  // 400 px a frame, about a second and a half down and as far back up.
  const frames = 90;
  const { blank, top } = await fling(grid, frames, 400);
  assert.deepEqual(blank.slice(0, 5), [], `${blank.length} of ${2 * frames} frames showed blank rows`);
  assert.equal(top, 0, 'the fling came back to the top');
  // Rows come in blocks, each asked for once: the rows passed over, in
  // blocks of 200, twice over at most, and a few more.
  const passed = Math.ceil((frames * 400) / h);
  assert.ok(rowRequests.length <= 2 * Math.ceil(passed / 200) + 4, `${rowRequests.length} requests for ${passed} rows:\n${rowRequests.join('\n')}`);
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('the keyboard moves the current row through the whole list', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  const grid = win.locator('[data-control="dw_display"]');
  const rows = Number(await grid.getAttribute('data-rowcount'));

  await grid.locator('tr.kq-row[data-row="2"] td').first().click();
  await settle(page);
  assert.equal(await grid.getAttribute('data-currentrow'), '2');
  await grid.focus();
  await page.keyboard.press('ArrowDown');
  await settle(page);
  assert.equal(await grid.getAttribute('data-currentrow'), '3');
  await page.keyboard.press('End');
  await settle(page);
  assert.equal(await grid.getAttribute('data-currentrow'), String(rows));
  await grid.locator(`tr.kq-row.kq-current[data-row="${rows}"]`).waitFor();
  await page.keyboard.press('Home');
  await settle(page);
  assert.equal(await grid.getAttribute('data-currentrow'), '1');
  await grid.locator('tr.kq-row.kq-current[data-row="1"]').waitFor();
  // Enter in the list acts on the current row as a double-click does, also
  // when the keys come faster than the answers: an answer naming a row the
  // arrows have already left (3) does not decide the row Enter opens (2).
  const number = await grid.locator('tr.kq-row[data-row="2"] td[data-column="cwtsbh"]').textContent();
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('Enter');
  const edit = page.locator('.window[data-class="w_svc305_01"]');
  await edit.waitFor();
  await settle(page);
  assert.equal(await grid.getAttribute('data-currentrow'), '2', 'down, down, up from row 1');
  assert.match(await edit.locator('[data-control="dw_edit"]').textContent(), new RegExp(number));
  await page.close();
});

test('a search finds one work order among 100,000, and Enter right after the arrow keys opens the row highlighted', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '取消结算', 'w_svc305');
  const grid = win.locator('[data-control="dw_display"]');
  const rows = Number(await grid.getAttribute('data-rowcount'));
  const counter = win.locator('.searchbar .record-count');
  assert.equal(await counter.textContent(), `${rows} / ${rows}`);
  const middle = Math.floor(rows / 2);
  await scrollTo(grid, middle);
  const wanted = (await grid.locator(`tr.kq-row[data-row="${middle}"] td[data-column="cwtsbh"]`).textContent()).trim();

  const box = win.locator('.searchbar .search-input');
  await box.fill(wanted);
  await page.waitForFunction((want) => document.querySelector('.window[data-class="w_svc305"] .record-count')?.textContent === want,
    `1 / ${rows}`);
  await settle(page);
  assert.deepEqual(await grid.locator('tr.kq-row td[data-column="cwtsbh"]').allTextContents(), [wanted]);
  assert.equal(await grid.locator('tr.kq-row.kq-current.kq-selected').count(), 1);
  await box.press('Escape');
  await page.waitForFunction((want) => document.querySelector('.window[data-class="w_svc305"] .record-count')?.textContent === want,
    `${rows} / ${rows}`);
  await settle(page);

  // Row 2 clicked, two arrow keys and Enter at once: the row opened is the
  // one highlighted last, whatever answers are still on their way.
  await scrollTo(grid, 1);
  await grid.locator('tr.kq-row[data-row="2"] td').first().click();
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  const edit = page.locator('.window[data-class="w_svc305_01"]');
  await edit.waitFor();
  await settle(page);
  const highlighted = await grid.evaluate((g) => [...g.querySelectorAll('tr.kq-current, tr.kq-selected')].map((tr) => tr.dataset.row));
  assert.deepEqual(highlighted, ['4'], 'one highlighted row, the current one');
  const number = (await grid.locator('tr.kq-row[data-row="4"] td[data-column="cwtsbh"]').textContent()).trim();
  assert.match(await edit.locator('[data-control="dw_edit"]').textContent(), new RegExp(number));
  assert.deepEqual(page.problems, []);
  await page.close();
});
