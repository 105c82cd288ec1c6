// A script that works the cancellation list through the HTTP protocol alone,
// as docs/protocol.md describes it: no browser.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { today } from './support/workstation.mjs';

const ws = useWorkstation({ browser: false });


// One request of the protocol: JSON in and out; an error answer throws with
// its status and message.
async function call(token, method, path, body) {
  const headers = { 'Content-Type': 'application/json' };
  if (token) headers.Authorization = `Bearer ${token}`;
  const res = await fetch(new URL(path, ws.server.url), { method, headers, body: body === undefined ? undefined : JSON.stringify(body) });
  const answer = await res.json();
  if (!res.ok) {
    const e = new Error(`${method} ${path}: ${res.status} ${answer.error?.message}`);
    e.status = res.status;
    e.answer = answer;
    throw e;
  }
  return answer;
}

// A signed-in script: it keeps the state of every open window as the event
// answers change it, and answers dialogs with `answerDialog` (which records them).
class Workstation {
  constructor(token) {
    this.token = token;
    this.windows = new Map();
    this.dialogs = [];
    this.answerDialog = (d) => { throw new Error(`unexpected dialog ${JSON.stringify(d)}`); };
  }

  get(path) { return call(this.token, 'GET', path); }
  post(path, body = {}) { return call(this.token, 'POST', path, body); }

  // Follows an event answer to its end: busy → wait, dialog → answer.
  async follow(answer) {
    for (;;) {
      for (const w of answer.windows) this.windows.set(w.id, w);
      for (const id of answer.closed) this.windows.delete(id);
      if (answer.dialog) {
        this.dialogs.push(answer.dialog);
        answer = await this.post('/api/dialog', { dialog: answer.dialog.id, answer: this.answerDialog(answer.dialog) });
      } else if (answer.busy) {
        answer = await this.post('/api/wait');
      } else {
        return answer;
      }
    }
  }

  async fire(event) { return this.follow(await this.post('/api/events', event)); }

  windowOf(cls) { return [...this.windows.values()].find((w) => w.class === cls); }
  control(win, name) { return win.controls.find((c) => c.name === name); }
  async items(win, control, first = 1, count = 1000) {
    return this.get(`/api/windows/${win.id}/controls/${control}/items?first=${first}&count=${count}`);
  }
}

async function signIn(company, operator, password) {
  const page = await call(null, 'GET', '/api/signin');
  assert.ok(page.companies.some((c) => c.code === company));
  const signed = await call(null, 'POST', '/api/signin', { company, operator, password });
  assert.match(signed.token, /^[0-9a-f]{64}$/);
  return new Workstation(signed.token);
}

test('a script signs in, lists another day, opens a settlement for cancellation and signs out', async () => {
  const ws = await signIn('01', '001', 'kq01001');
  const session = await ws.get('/api/session');
  assert.equal(session.operator.name, '王建国');
  assert.deepEqual(session.operator.authorities, ['CJ', 'CP', 'CQ']);

  // The menu names the window; opening it answers its state.
  const { menu } = await ws.get('/api/menu');
  const entry = menu.find((m) => m.title === '取消结算');
  assert.ok(entry, `menu: ${JSON.stringify(menu)}`);
  const opened = await ws.follow(await ws.post('/api/windows', { class: entry.class }));
  const list = ws.windowOf('w_svc305');
  assert.equal(opened.active, list.id);
  assert.equal(list.title, '取消结算');
  assert.equal(ws.control(list, 'em_1').text, today());
  assert.equal(ws.control(list, 'em_1').enabled, true);
  assert.equal(ws.control(list, 'dw_display').dataobject, 'd_svc305_01');

  // Enter in the date field lists another day.
  await ws.fire({ window: list.id, control: 'em_1', event: 'ue_key', key: 13, text: today(-1) });
  const listed = await ws.items(ws.windowOf('w_svc305'), 'dw_display');
  assert.equal(listed.rowcount, ws.control(ws.windowOf('w_svc305'), 'dw_display').rowcount);
  assert.equal(listed.columns.find((c) => c.name === 'djsrq').heading, '结算日期');
  assert.ok(listed.rows.every((r) => r.items.djsrq <= today(-1)), 'nothing after the day asked for');
  const row = listed.rows.find((r) => r.items.cwtsbh === '1010000000021');
  assert.ok(row, `1010000000021 in ${listed.rows.map((r) => r.items.cwtsbh)}`);

  // A double-click on its row opens the cancellation window for it.
  const done = await ws.fire({ window: list.id, control: 'dw_display', event: 'doubleclicked', row: row.row, column: 'cwtsbh' });
  const edit = ws.windowOf('w_svc305_01');
  assert.ok(edit, `windows: ${[...ws.windows.values()].map((w) => w.class)}`);
  assert.equal(done.active, edit.id);
  assert.equal(edit.title, '取消结算');
  assert.equal(edit.parent, list.id);
  for (const name of ['dw_edit']) assert.ok(ws.control(edit, name), `${name} in ${edit.controls.map((c) => c.name)}`);
  const header = await ws.items(edit, 'dw_edit');
  assert.equal(header.rows[0].items.cwtsbh, '1010000000021');

  // Every open window's state, read again from the start.
  const all = await ws.get('/api/windows');
  assert.deepEqual(all.windows.map((w) => w.class).sort(), ['w_svc305', 'w_svc305_01']);

  assert.deepEqual(await ws.post('/api/signout'), { signed_out: true });
  await assert.rejects(ws.get('/api/windows'), (e) => e.status === 401);
});

test('a script answers a message box, sorts the list and is refused what the person may not do', async () => {
  const ws = await signIn('01', '003', 'kq01003');
  await ws.follow(await ws.post('/api/windows', { class: 'w_svc305' }));
  const list = ws.windowOf('w_svc305');
  assert.equal(ws.control(list, 'em_1').enabled, false, 'no CJ: the date is fixed');
  await assert.rejects(ws.fire({ window: list.id, control: 'em_1', event: 'ue_key', key: 13, text: today(-1) }),
    (e) => e.status === 403 && e.answer.error.status === 403);

  // The query button with the date of today: no dialog. A date typed into an
  // enabled field is checked by the window, whose message box the script answers.
  const ws2 = await signIn('01', '004', 'kq01004');
  await ws2.follow(await ws2.post('/api/windows', { class: 'w_svc305' }));
  const list2 = ws2.windowOf('w_svc305');
  ws2.answerDialog = (d) => d.buttons.length;
  await ws2.fire({ window: list2.id, control: 'em_1', event: 'ue_key', key: 13, text: '2045/01/02' });
  assert.equal(ws2.dialogs.length, 1);
  assert.equal(ws2.dialogs[0].kind, 'messagebox');
  assert.equal(ws2.dialogs[0].text, '日期输入错误!');

  // A click on a heading sorts; the grid's state tells the order.
  await ws2.fire({ window: list2.id, control: 'dw_display', event: 'clicked', row: 0, column: 'cwtsbh' });
  await ws2.fire({ window: list2.id, control: 'dw_display', event: 'clicked', row: 0, column: 'cwtsbh' });
  const grid = ws2.control(ws2.windowOf('w_svc305'), 'dw_display');
  assert.deepEqual(grid.sort, [{ column: 'cwtsbh', descending: true }]);
  const numbers = (await ws2.items(list2, 'dw_display')).rows.map((r) => r.items.cwtsbh);
  assert.deepEqual(numbers, [...numbers].sort().reverse());

  // The tool bar's commands are window events; close ends the window.
  assert.ok(list2.menu.toolbar.some((b) => b.event === 'close'), JSON.stringify(list2.menu));
  await ws2.fire({ window: list2.id, control: '', event: 'close' });
  assert.equal(ws2.windowOf('w_svc305'), undefined);
});
