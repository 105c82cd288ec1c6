// The road of a cashier whose shop named its counter printer (a CUPS queue of
// a private scheduler, in pb.ini beside the shop): 打印结算单 from the menu
// prints the slip on it at once in the copies chosen with the spin, 打印 in
// the exit pass's preview prints the pages the preview shows in the copies
// beside it, and a print
// service that is down is told, not taken for success.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { api, expectMessage, openFromMenu, openPage, settle, signIn, tokenOf } from './support/workstation.mjs';

const QUEUE = 'kq_test';
const scripts = path.resolve(import.meta.dirname ?? path.dirname(new URL(import.meta.url).pathname), '../../scripts');
const cups = { dir: fs.mkdtempSync(path.join(os.tmpdir(), 'kq-e2e-cupsd-')) };

function run(script, ...args) {
  const r = spawnSync(path.join(scripts, script), args, { encoding: 'utf8' });
  if (r.status !== 0) throw new Error(`${script}: ${r.stdout}${r.stderr}`);
}

const ws = useWorkstation({
  prepare: (w) => {
    run('start_cupsd.sh', cups.dir, QUEUE);
    process.env.CUPS_SERVER = path.join(cups.dir, 'cups.sock');  // the server started next prints there
    fs.writeFileSync(path.join(path.dirname(w.shop.db), 'pb.ini'), `[print]\nprinter = ${QUEUE}\n`);
    w.cleanup = () => {
      run('stop_cupsd.sh', cups.dir);
      fs.rmSync(cups.dir, { recursive: true, force: true });
    };
  },
});

const outbox = () => path.join(cups.dir, 'out', QUEUE);
const jobFiles = () => fs.readdirSync(outbox()).filter((f) => /^job-\d+\.pdf$/.test(f));

// Waits for job number `count` to reach the printer; its document and the copies asked of the printer.
async function nextJob(count) {
  for (let i = 0; i < 100 && jobFiles().length < count; i++) await new Promise((r) => setTimeout(r, 100));
  const files = jobFiles().sort((a, b) => parseInt(a.slice(4), 10) - parseInt(b.slice(4), 10));
  assert.equal(files.length, count, `jobs at the printer: ${files.join(', ')}`);
  const file = path.join(outbox(), files[count - 1]);
  return { file, copies: Number(fs.readFileSync(file.replace(/\.pdf$/, '.copies'), 'utf8').trim()) };
}

function pdfPages(file) {
  const r = spawnSync('pdfinfo', [file], { encoding: 'utf8' });
  assert.equal(r.status, 0, r.stderr);
  return Number(/^Pages:\s+(\d+)/m.exec(r.stdout)[1]);
}

function pdfText(file) {
  return spawnSync('pdftotext', ['-enc', 'UTF-8', file, '-'], { encoding: 'utf8' }).stdout;
}

// Does `open` (an action that opens a preview) and returns the PDF the
// preview shows (the printout it fetches), written to a file.
async function previewedPdf(page, name, open) {
  const fetched = page.waitForResponse((r) => /\/api\/dialogs\/\d+\/pdf$/.test(r.url()));
  await open();
  const url = (await fetched).url();
  await page.locator('.dialog[data-kind="preview"] iframe.preview-pdf').waitFor();
  // The same printout again, asked by the session while the preview waits.
  const res = await fetch(url, { headers: { Authorization: `Bearer ${await tokenOf(page)}` } });
  assert.equal(res.status, 200);
  const file = path.join(cups.dir, `${name}.pdf`);
  fs.writeFileSync(file, Buffer.from(await res.arrayBuffer()));
  return { file, url };
}

async function closePreview(page) {
  const preview = page.locator('.dialog[data-kind="preview"]');
  await preview.getByRole('button', { name: '关闭' }).click();
  await preview.waitFor({ state: 'detached' });
  await settle(page);
}

test('a named printer gets the slip in the copies of the spin, the previewed exit pass, and a stopped service is told', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const win = await openFromMenu(page, '打印结算单', 'w_svc309');
  const grid = win.locator('[data-control="dw_1"]');
  const first = grid.locator('tr.kq-row').first();
  const bh = (await first.locator('td[data-column="cwtsbh"]').textContent()).trim();

  // The slip as its preview shows it.
  const slip = (await previewedPdf(page, 'slip', () => first.dblclick())).file;
  await closePreview(page);
  assert.deepEqual(jobFiles(), [], 'a preview prints nothing');

  // 打印份数 is a spin from 1 to 9; a typed 12 is refused by the server.
  const copies = win.locator('[data-control="em_1"] input');
  assert.deepEqual(await copies.evaluate((i) => [i.type, i.min, i.max]), ['number', '1', '9']);
  await copies.fill('12');
  await win.locator('.commands button', { hasText: '打印结算单' }).click();
  await expectMessage(page, '打印份数须为 1 到 9 之间的整数');
  assert.deepEqual(jobFiles(), [], 'nothing printed with 12 copies');
  await copies.fill('2');
  await copies.press('ArrowUp');  // the spin's arrow: 3
  assert.equal(await copies.inputValue(), '3');

  await win.locator('.commands button', { hasText: '打印结算单' }).click();
  await settle(page);
  assert.equal(await page.locator('.dialog').count(), 0, 'no dialog when a printer is named');
  const printed = await nextJob(1);
  assert.equal(printed.copies, 3);
  assert.equal(pdfPages(printed.file), pdfPages(slip));
  assert.match(pdfText(printed.file), new RegExp(bh));

  // The exit pass: 打印 in its preview prints the pages shown, in the copies beside it.
  const preview = page.locator('.dialog[data-kind="preview"]');
  const pass = await previewedPdf(page, 'pass', () => win.locator('.commands button', { hasText: '打印出门证' }).click());
  // The server keeps the copies within 1 to 9, whatever a script sends.
  const refused = await api(ws.server.url, await tokenOf(page), 'POST', pass.url.replace(/pdf$/, 'print'), { copies: 10 });
  assert.equal(refused.status, 400);
  assert.equal(refused.body.error.message, '打印份数须为 1 到 9 之间的整数');
  await preview.locator('input.preview-copies').fill('2');
  await preview.getByRole('button', { name: '打印' }).click();
  await preview.locator('.preview-status', { hasText: `已送打印机 ${QUEUE}` }).waitFor();
  const passJob = await nextJob(2);
  assert.equal(passJob.copies, 2);
  assert.equal(pdfPages(passJob.file), pdfPages(pass.file));
  assert.equal(pdfText(passJob.file), pdfText(pass.file));
  await closePreview(page);

  // The print service stops: the cashier is told and nothing is printed.
  run('stop_cupsd.sh', cups.dir);
  await win.locator('.commands button', { hasText: '打印结算单' }).click();
  await expectMessage(page, '无法连接打印服务（CUPS），没有打印！请检查打印服务是否已启动。');
  assert.equal(jobFiles().length, 2);
  assert.deepEqual(page.problems, []);
  await page.close();
});
