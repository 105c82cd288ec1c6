// A script cancels a settlement through the HTTP protocol alone, as
// docs/protocol.md describes it: no browser.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';

const ws = useWorkstation({ browser: false });


function client(token) {
  const call = async (method, path, body) => {
    const res = await fetch(new URL(path, ws.server.url), {
      method,
      headers: { ...(token ? { Authorization: `Bearer ${token}` } : {}), 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const json = await res.json();
    assert.equal(res.status, 200, `${method} ${path}: ${JSON.stringify(json)}`);
    return json;
  };
  // Follows an event answer to its end: busy answers are waited on; the
  // messages shown are collected and answered with `answer` (button 1).
  const settle = async (answer, messages) => {
    for (;;) {
      if (answer.dialog) {
        assert.equal(answer.dialog.kind, 'messagebox');
        messages.push(answer.dialog.text);
        answer = await call('POST', '/api/dialog', { dialog: answer.dialog.id, answer: 1 });
      } else if (answer.busy) {
        answer = await call('POST', '/api/wait', {});
      } else {
        return answer;
      }
    }
  };
  return { call, settle };
}

function committed(query) {
  const r = spawnSync('sqlite3', [ws.shop.db, query], { encoding: 'utf8' });
  assert.equal(r.status, 0, r.stderr);
  return r.stdout.trim();
}

test('a script signs in, opens the cancellation of a card settlement, is refused, then cancels it', async () => {
  const { token } = await client().call('POST', '/api/signin', { company: '01', operator: '001', password: 'kq01001' });
  const { call, settle } = client(token);
  const menu = await call('GET', '/api/menu');
  const entry = menu.menu.find((m) => m.title === '取消结算');
  const opened = await settle(await call('POST', '/api/windows', { class: entry.class }), []);
  const list = opened.active;

  const items = await call('GET', `/api/windows/${list}/controls/dw_display/items?count=1000`);
  const row = items.rows.find((r) => r.items.cwtsbh === '1010000000006').row;
  const shown = await settle(await call('POST', '/api/events',
    { window: list, control: 'dw_display', event: 'doubleclicked', row, column: 'cwtsbh' }), []);
  const win = shown.windows.find((w) => w.class === 'w_svc305_01');
  assert.ok(win, 'the cancellation window opened');
  assert.equal(win.parent, list);

  // Saving without a reason is refused with the window's message.
  let messages = [];
  await settle(await call('POST', '/api/events', { window: win.id, control: '', event: 'ue_cus', number: 1 }), messages);
  assert.deepEqual(messages, ['请输入委托书取消结算的“原因说明”！']);

  // 未结, the reason, the card (this operator may cancel without the reader), save.
  messages = [];
  await settle(await call('POST', '/api/events',
    { window: win.id, control: 'dw_edit', event: 'itemchanged', row: 1, column: 'cwxzt', data: '0' }), messages);
  await settle(await call('POST', '/api/events',
    { window: win.id, control: 'mle_1', event: 'modified', text: '结算方式录入错误' }), messages);
  await settle(await call('POST', '/api/events', { window: win.id, control: 'cb_2', event: 'clicked' }), messages);
  const state = (await call('GET', '/api/windows')).windows.find((w) => w.id === win.id);
  assert.equal(state.controls.find((c) => c.name === 'sle_1').text, '8801000001');
  assert.equal(state.controls.find((c) => c.name === 'mle_1').limit, 255);
  const amount = Number(committed("select nhjje from svcb20c where cwtsbh = '1010000000006'"))
    .toLocaleString('en-US', { minimumFractionDigits: 2, maximumFractionDigits: 2 });
  // The save asks (answered 是), cancels, tells, and closes back to the list.
  const saved = await settle(await call('POST', '/api/events', { window: win.id, control: '', event: 'ue_cus', number: 1 }),
    messages);
  assert.deepEqual(messages, [`确定将委托书 1010000000006 的结算状态由 结清 改为 未结 ？金额 ${amount} 元。`, '取消结算成功！']);
  assert.ok(saved.closed.includes(win.id), 'the cancellation window closed');
  assert.equal(saved.active, list);

  const after = await call('GET', `/api/windows/${list}/controls/dw_display/items?count=1000`);
  assert.ok(!after.rows.some((r) => r.items.cwtsbh === '1010000000006'), 'the list no longer shows it');
  assert.equal(committed("select cwxzt from svcb20c where cwtsbh = '1010000000006'"), '0');
  assert.equal(committed("select count(*) from svcb61 where cwtsbh = '1010000000006' and cblob is not null"), '1');
  await call('POST', '/api/signout', {});
});
