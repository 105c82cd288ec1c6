// The road of one settlement cancellation at the workstation: a cashier opens
// 取消结算, double-clicks a card settlement of today, chooses 未结, types the
// reason, reads the member's card from the reader (the simulator on a
// pseudo-terminal) and saves. Both databases and the card are checked after.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { binary } from './support/server.mjs';
import { columnTexts, expectMessage, openFromMenu, openPage, settle, shopSql, signIn } from './support/workstation.mjs';

let dir;
let reader;

const CARD_01 = {
  present: true, number: '8801000001', valid: '1', password: '880101', points: '1350', scoring_code: '01',
  service: ['5', '6800.00', '1200.00', '980', '1010000000006', '', '', '200.00', '150', '0', '', ''], records: [],
};
const CARD_02 = {
  present: true, number: '8802000001', valid: '1', password: '880201', points: '500', scoring_code: '01',
  service: ['3', '2000.00', '100.00', '60', '1020000000004', '', '', '100.00', '60', '0', '', ''], records: [],
};

// The card reader simulator with the card file beside the shop; resolves
// with a handle whose present(card) waits until the reader holds the card.
function startReader(link, cardFile) {
  const child = spawn(binary(), ['card-sim', '--link', link, '--card', cardFile], { stdio: ['ignore', 'pipe', 'pipe'] });
  let out = '';
  const waiters = [];
  child.stdout.on('data', (d) => {
    out += d;
    for (const w of waiters.splice(0)) if (!w()) waiters.push(w);
  });
  const until = (test) => new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`card-sim: ${out}`)), 15000);
    const check = () => { if (!test(out)) return false; clearTimeout(timer); resolve(); return true; };
    if (!check()) waiters.push(check);
  });
  return until((o) => o.includes('card-sim: reader on')).then(() => ({
    present: async (card) => {
      const seen = out.length;
      fs.writeFileSync(cardFile, JSON.stringify(card, null, 2));
      await until((o) => o.slice(seen).includes(`card file changed: `) && o.slice(seen).includes(card.number));
    },
    card: () => JSON.parse(fs.readFileSync(cardFile, 'utf8')),
    // The card once the simulator has saved what the host wrote: the file is
    // rewritten a moment after the write.
    written: async (test) => {
      const deadline = Date.now() + 10000;
      for (;;) {
        const card = JSON.parse(fs.readFileSync(cardFile, 'utf8'));
        if (test(card) || Date.now() > deadline) return card;
        await new Promise((r) => setTimeout(r, 50));
      }
    },
    stop: () => new Promise((done) => {
      if (child.exitCode !== null) return done();
      child.once('exit', () => done());
      child.kill('SIGTERM');
    }),
  }));
}

// One value of the shop (the club tables included) as text.
const sql = (query) => shopSql(ws.shop.db, query);
const num = (query) => Number(sql(query));

// The card reader simulator beside the shop, and pb.ini pointing the
// workstation's reader and the write-back port at it.
const ws = useWorkstation({
  prepare: async (w) => {
    dir = path.dirname(w.shop.db);
    const link = path.join(dir, 'card-reader');
    const cardFile = path.join(dir, 'card.json');
    fs.writeFileSync(cardFile, JSON.stringify({ present: false }));
    fs.writeFileSync(path.join(dir, 'pb.ini'), `[database]\nickcom=${link}\n\n[ports]\nCOM1=${link}\nCOM2=${link}\n`);
    reader = await startReader(link, cardFile);
    w.cleanup = () => reader.stop();
  },
});

async function openCancellation(page, number) {
  const list = await openFromMenu(page, '取消结算', 'w_svc305');
  const grid = list.locator('[data-control="dw_display"]');
  await grid.locator('tr.kq-row', { hasText: number }).dblclick();
  const win = page.locator('.window[data-class="w_svc305_01"]');
  await win.waitFor();
  await settle(page);
  return { list, grid, win };
}

// Saves and expects one message box with `text`, closed with Esc.
async function saveRefused(page, win, text) {
  await win.locator('.toolbar button', { hasText: '保存' }).click();
  await expectMessage(page, text);
}
// Saves an irreversible cancellation: the question names the work order,
// the change and the amount; 是 cancels, "取消结算成功！" is told, the window
// closes and the list is in front with the focus.
async function saveConfirmed(page, win, bh) {
  const amount = Number(sql(`select nhjje from svcb20c where cwtsbh = '${bh}'`))
    .toLocaleString('en-US', { minimumFractionDigits: 2, maximumFractionDigits: 2 });
  await win.locator('.toolbar button', { hasText: '保存' }).click();
  const box = page.locator('.dialog[data-kind="messagebox"]');
  await box.waitFor();
  assert.equal((await box.locator('.dialog-text').textContent()).trim(),
    `确定将委托书 ${bh} 的结算状态由 结清 改为 未结 ？金额 ${amount} 元。`);
  await box.locator('button', { hasText: '是' }).click();
  await expectMessage(page, '取消结算成功！');
  await win.waitFor({ state: 'detached' });
  const list = page.locator('.window[data-class="w_svc305"]');
  await list.waitFor();
  await page.waitForFunction(
    () => document.activeElement?.closest('.window[data-class="w_svc305"] [data-control="dw_display"]'), null,
    { timeout: 5000 });
  return list;
}
const choose = (win, status) => win.locator('[data-control="dw_edit"] label', { hasText: status }).locator('input').click();

test('a cashier who must read the card cancels a club card settlement of today', async () => {
  await reader.present(CARD_01);
  const bh = '1010000000006';
  const before = {
    balance: num('select nknye from club01c where id = 1'),
    clubBalance: num('select nknye from kq_club_club01c where id = 1'),
    points: num('select ndhjf from club01c where id = 1'),
    clubPoints: num('select ndhjf from kq_club_club01c where id = 1'),
    booked: num(`select nbcdhjf from club08 where nkid = 1 and cdyywdh = '${bh}'`),
    visits: num(`select c.nwxcslj from crmc04 c join svcb20c h on h.id = c.id and h.cgsh = c.cgsh where h.cwtsbh = '${bh}'`),
  };

  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '004', 'kq01004');  // 陈静: CJ, CP, not CQ
  const { grid, win } = await openCancellation(page, bh);
  assert.equal(await win.locator('[data-control="st_1"]').textContent(), '*取消结算，请输入原因说明：');

  // The refusals, each with its text.
  await saveRefused(page, win, '请输入委托书取消结算的“原因说明”！');
  await choose(win, '欠账');
  await settle(page);
  await win.locator('[data-control="mle_1"] textarea').fill('客户要求重新结算');
  await saveRefused(page, win, '已结清的委托书不能改到欠账状态！');
  await win.locator('[data-control="cb_2"] button').click();
  await expectMessage(page, '请先选择结算状态为“未结”。');
  await choose(win, '未结');
  await settle(page);
  await saveRefused(page, win, '当前会员卡号与结算会员卡号不一致，请核实。\n结算卡号：8801000001');

  // The card from the reader, then the cancellation.
  await win.locator('[data-control="cb_2"] button').click();
  await settle(page);
  assert.equal(await win.locator('[data-control="sle_1"] input').inputValue(), '8801000001');
  assert.equal(await win.locator('[data-control="em_1"] input').inputValue(), '200.00');
  // Without CQ the card number is the reader's only: the field takes no typing.
  assert.equal(await win.locator('[data-control="sle_1"] input').getAttribute('readonly'), '');
  assert.equal(await win.locator('[data-control="mle_1"] textarea').getAttribute('maxlength'), '255');
  await saveConfirmed(page, win, bh);
  assert.equal(await page.locator('.dialog[data-kind="messagebox"]').count(), 0);
  assert.ok(!(await columnTexts(grid, 'cwtsbh')).includes(bh), 'the list no longer shows the work order');

  // Header, receipts, points and stored value in both databases, statistics, archive, log.
  assert.equal(sql(`select cwxzt || '|' || cskxf || '|' || (case when nhjje = 0 then 1 else 0 end) from svcb20c where cwtsbh = '${bh}'`), '0|0|1');
  assert.equal(num(`select count(*) from sysb13 where cdydjh = '${bh}' and cbs = '3'`), 0);
  assert.equal(num('select nknye from club01c where id = 1'), before.balance + 200);
  assert.equal(num('select nknye from kq_club_club01c where id = 1'), before.clubBalance + 200);
  assert.equal(num('select ndhjf from club01c where id = 1'), before.points - before.booked);
  assert.equal(num('select ndhjf from kq_club_club01c where id = 1'), before.clubPoints - before.booked);
  for (const t of ['club08', 'kq_club_club08', 'club07', 'kq_club_club07'])
    assert.equal(num(`select count(*) from ${t} where cdyywdh = '${bh}'`), 0, t);
  assert.equal(num(`select c.nwxcslj from crmc04 c join svcb20c h on h.id = c.id and h.cgsh = c.cgsh where h.cwtsbh = '${bh}'`),
    before.visits - 1);
  assert.equal(sql(`select cjszt || '|' || cczymc || '|' || cbz || '|' || (case when cblob is not null then 1 else 0 end) from svcb61 where cwtsbh = '${bh}'`),
    '1|陈静|客户要求重新结算|1');
  assert.match(sql(`select cnr from kq_operation_log where cnr like '%${bh}%'`),
    /^取消结算:将 1010000000006 的委托书由 结清 改为 未结 ,总金额为 [\d,]+\.\d\d 元。 会员卡号： 8801000001 ;原因说明：客户要求重新结算$/);
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('an IC card settlement is cancelled and the card written back', async () => {
  await reader.present(CARD_02);
  const bh = '1020000000004';
  const balance = num("select nknye from club01c where ckh = '8802000001'");
  const clubBalance = num("select nknye from kq_club_club01c where ckh = '8802000001'");
  const settlementPoints = num(`select nhykbcjf from svcb20c where cwtsbh = '${bh}'`);

  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '02', '002', 'kq02002');  // 孙丽: CP
  const { grid, win } = await openCancellation(page, bh);
  await choose(win, '未结');
  await settle(page);
  await win.locator('[data-control="mle_1"] textarea').fill('刷卡金额有误');
  await win.locator('[data-control="cb_2"] button').click();
  await settle(page);
  assert.equal(await win.locator('[data-control="sle_1"] input').inputValue(), '8802000001');
  await saveConfirmed(page, win, bh);
  assert.equal(await page.locator('.dialog[data-kind="messagebox"]').count(), 0);
  assert.ok(!(await columnTexts(grid, 'cwtsbh')).includes(bh));

  assert.equal(sql(`select cwxzt from svcb20c where cwtsbh = '${bh}'`), '0');
  assert.equal(num("select nknye from club01c where ckh = '8802000001'"), balance + 100);
  // Company 02 does not write the club database.
  assert.equal(num("select nknye from kq_club_club01c where ckh = '8802000001'"), clubBalance);
  // The card: points taken back, the cancellation recorded.
  const card = await reader.written((c) => c.records?.length > 0);
  assert.equal(Number(card.points), 500 - settlementPoints);
  assert.equal(card.records.length, 1);
  assert.ok(JSON.stringify(card.records[0]).includes(bh));
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('a credit settlement cannot become settled in full', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const { win } = await openCancellation(page, '2010000000008');
  await choose(win, '结清');
  await settle(page);
  await win.locator('[data-control="mle_1"] textarea').fill('改结清');
  await saveRefused(page, win, '欠账的委托书不能改到结清状态！');
  assert.equal(sql("select cwxzt from svcb20c where cwtsbh = '2010000000008'"), '2');
  await page.close();
});
