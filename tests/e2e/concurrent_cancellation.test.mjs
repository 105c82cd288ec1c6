// Two workstation servers on one shop database, as a shop with several
// servers behind a proxy runs them: cashiers on both cancel the same
// settlement at the same moment. The database decides: exactly one cancels,
// the other is told so by the window, and nothing is reversed twice.
// Runs on the embedded default, and on a database server with
// KQ_E2E_DATABASE=postgresql.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { demoShop, startServer } from './support/server.mjs';
import { shopSql } from './support/workstation.mjs';

const TRIALS = 50;
let shop;
const servers = [];

before(async () => {
  // Generated settlements of today, enough for every trial.
  shop = demoShop(['--scale', String(TRIALS * 3), '--days', '1']);
  servers.push(await startServer(shop), await startServer(shop));
});
after(async () => {
  for (const s of servers) await s.stop();
  shop?.cleanup();
});

function client(url, token) {
  const call = async (method, path, body) => {
    const res = await fetch(new URL(path, url), {
      method,
      headers: { ...(token ? { Authorization: `Bearer ${token}` } : {}), 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const json = await res.json();
    assert.equal(res.status, 200, `${method} ${path}: ${JSON.stringify(json)}`);
    return json;
  };
  // Follows an event answer to its end, answering every message box with its first button.
  const settle = async (answer, messages) => {
    for (;;) {
      if (answer.dialog) {
        messages.push(answer.dialog.text);
        answer = await call('POST', '/api/dialog', { dialog: answer.dialog.id, answer: 1 });
      } else if (answer.busy) {
        answer = await call('POST', '/api/wait', {});
      } else {
        return answer;
      }
    }
  };
  const event = async (body, messages = []) => settle(await call('POST', '/api/events', body), messages);
  return { call, settle, event };
}

// A cashier signed in on `server` with the cancellation list open.
async function cashier(server) {
  const { token } = await client(server.url).call('POST', '/api/signin',
    { company: '01', operator: '001', password: 'kq01001' });
  const c = client(server.url, token);
  const entry = (await c.call('GET', '/api/menu')).menu.find((m) => m.title === '取消结算');
  c.list = (await c.settle(await c.call('POST', '/api/windows', { class: entry.class }), [])).active;
  return c;
}

// Opens the cancellation of `bh` from the list, chooses 未结 and types the reason.
async function prepare(c, bh) {
  await c.event({ window: c.list, control: '', event: 'ue_refresh' });
  const items = await c.call('GET', `/api/windows/${c.list}/controls/dw_display/items?count=1000`);
  const row = items.rows.find((r) => r.items.cwtsbh === bh)?.row;
  assert.ok(row, `${bh} is in the list`);
  const shown = await c.event({ window: c.list, control: 'dw_display', event: 'doubleclicked', row, column: 'cwtsbh' });
  const win = shown.windows.find((w) => w.class === 'w_svc305_01');
  assert.ok(win, `the cancellation of ${bh} opened`);
  await c.event({ window: win.id, control: 'dw_edit', event: 'itemchanged', row: 1, column: 'cwxzt', data: '0' });
  await c.event({ window: win.id, control: 'mle_1', event: 'modified', text: '两台工作站同时取消' });
  return win.id;
}

const sql = (query) => shopSql(shop.db, query);
const reversals = (bh) => ({
  state: sql(`select cwxzt from svcb20c where cwtsbh = '${bh}'`),
  visits: Number(sql(`select c.nwxcslj from crmc04 c join svcb20c h on h.id = c.id and h.cgsh = c.cgsh where h.cwtsbh = '${bh}'`)),
  records: Number(sql(`select count(*) from svcb61 where cwtsbh = '${bh}'`)),
  receipts: Number(sql(`select count(*) from sysb13 where cdydjh = '${bh}' and cbs = '3'`)),
});

test(`two workstation servers cancel the same settlement at once: one succeeds, ${TRIALS} times`, async () => {
  const cashiers = [await cashier(servers[0]), await cashier(servers[1])];
  const candidates = sql(
    "select cwtsbh from svcb20c where cgsh = '01' and cwxzt = '1' and substr(cwtsbh, 4, 1) = '9' order by cwtsbh")
    .split('\n').filter(Boolean);
  assert.ok(candidates.length >= TRIALS, `${candidates.length} generated settlements of today`);
  const losers = new Map();
  for (const bh of candidates.slice(0, TRIALS)) {
    const was = reversals(bh);
    const windows = [await prepare(cashiers[0], bh), await prepare(cashiers[1], bh)];
    const told = [[], []];
    const answers = await Promise.all(cashiers.map((c, i) =>
      c.event({ window: windows[i], control: '', event: 'ue_cus', number: 1 }, told[i])));
    const succeeded = told.map((m) => m.includes('取消结算成功！'));
    assert.equal(succeeded.filter(Boolean).length, 1, `${bh}: exactly one cancels; told ${JSON.stringify(told)}`);
    const loser = succeeded[0] ? 1 : 0;
    const said = told[loser].filter((m) => !m.startsWith('确定将委托书'));
    assert.ok(said.length > 0, `${bh}: the other workstation is told why (${JSON.stringify(told[loser])})`);
    losers.set(said.join(' / '), (losers.get(said.join(' / ')) ?? 0) + 1);

    const now = reversals(bh);
    assert.deepEqual(now, { state: '0', visits: was.visits - 1, records: was.records + 1, receipts: 0 },
      `${bh}: reversed once (before ${JSON.stringify(was)})`);
    // The loser's window stays open with its message; it is closed before the next trial.
    if (!answers[loser].closed?.includes(windows[loser])) {
      await cashiers[loser].event({ window: windows[loser], control: '', event: 'close' });
    }
  }
  console.log('the other workstation was told:', Object.fromEntries(losers));
  for (const c of cashiers) await c.call('POST', '/api/signout', {});
});
