// The server program under a shop's bad days, without a browser: a fresh
// demo opened by two servers at once, and a stop signal while a session is
// printing a list with a field far longer than its cell.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { test } from 'node:test';
import { demoShop, startServer } from './support/server.mjs';

async function post(url, pathname, body, token) {
  const headers = { 'Content-Type': 'application/json' };
  if (token) headers.Authorization = `Bearer ${token}`;
  const res = await fetch(new URL(pathname, url), { method: 'POST', headers, body: JSON.stringify(body) });
  return { status: res.status, body: await res.json() };
}

test('two servers started together on a fresh demo both come up', async () => {
  const shop = demoShop();
  const started = [];
  try {
    const results = await Promise.allSettled([startServer(shop.db), startServer(shop.db)]);
    for (const r of results) if (r.status === 'fulfilled') started.push(r.value);
    assert.deepEqual(results.map((r) => r.status === 'fulfilled' ? 'up' : String(r.reason?.message)), ['up', 'up']);
    for (const server of started) {
      const res = await fetch(new URL('/api/signin', server.url));
      assert.equal(res.status, 200, `${server.url} answers`);
    }
  } finally {
    for (const server of started) await server.stop();
    shop.cleanup();
  }
});

test('a stop signal ends the server within seconds while a long field is printed', async () => {
  const shop = demoShop();
  // 开头 and 100,000 × 长 in every customer name of company 01.
  const r = spawnSync('sqlite3', [shop.db,
    "UPDATE crmc01 SET ckhmc = '开头' || replace(hex(zeroblob(100000)), '00', '长') WHERE cgsh = '01'"],
    { encoding: 'utf8' });
  assert.equal(r.status, 0, `sqlite3: ${r.stderr}`);
  const server = await startServer(shop.db);
  let stopped = false;
  try {
    const signin = await post(server.url, '/api/signin', { company: '01', operator: '001', password: 'kq01001' });
    assert.equal(signin.status, 200, JSON.stringify(signin.body));
    const token = signin.body.token;
    const opened = await post(server.url, '/api/windows', { class: 'w_svc305' }, token);
    assert.equal(opened.status, 200, JSON.stringify(opened.body).slice(0, 300));
    const list = opened.body.windows[0].id;
    // The list's PDF with the long names: it is made, and its request does not hold up the stop.
    const printed = Date.now();
    const pdf = await fetch(new URL(`/api/windows/${list}/controls/dw_display/pdf`, server.url),
      { headers: { Authorization: `Bearer ${token}` } });
    const printMs = Date.now() - printed;
    assert.equal(pdf.status, 200, `the list's PDF after ${printMs} ms`);
    assert.equal(pdf.headers.get('content-type'), 'application/pdf');
    // A stop while the session is busy printing again.
    fetch(new URL(`/api/windows/${list}/controls/dw_display/pdf`, server.url),
      { headers: { Authorization: `Bearer ${token}` } }).catch(() => {});
    await new Promise((done) => setTimeout(done, 200));
    const signalled = Date.now();
    const code = await server.stop();
    stopped = true;
    const stopMs = Date.now() - signalled;
    console.log(`list PDF with 100,000-character names: ${printMs} ms; stop: ${stopMs} ms`);
    assert.equal(code, 0, server.errors());
    assert.ok(stopMs < 8000, `the server took ${stopMs} ms to stop`);
  } finally {
    if (!stopped) await server.stop();
    shop.cleanup();
  }
});
