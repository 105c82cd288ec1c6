// Signing in and out at the workstation.
import assert from 'node:assert/strict';
import http from 'node:http';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { api, openPage, signIn, today, tokenOf } from './support/workstation.mjs';

const ws = useWorkstation();


test('the sign-in page offers the companies and today as the business date', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  const companies = await page.locator('#signin-company option').allTextContents();
  assert.deepEqual(companies, ['01 北京凯琪汽车维修服务有限公司', '02 北京凯琪汽车维修服务有限公司亦庄分公司']);
  assert.equal(await page.inputValue('#signin-date'), today());
  await page.close();
});

test('a wrong password is refused with a message and no session', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await page.fill('#signin-operator', '001');
  await page.fill('#signin-password', 'kq01002');
  await page.click('#signin-submit');
  await page.waitForFunction(() => document.getElementById('signin-error').textContent !== '');
  assert.equal(await page.textContent('#signin-error'), '操作员代码或密码错误');
  assert.equal(await page.isVisible('#workspace'), false);
  assert.equal(await page.evaluate(() => sessionStorage.getItem('kq.workstation.token')), null);
  await page.close();
});

test('after five wrong passwords the operator must wait, even with the right one', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await page.selectOption('#signin-company', '02');
  await page.fill('#signin-operator', '003');
  const attempt = async (password) => {
    await page.evaluate(() => { document.getElementById('signin-error').textContent = ''; });
    await page.fill('#signin-password', password);
    await page.click('#signin-submit');
    await page.waitForFunction(() => document.getElementById('signin-error').textContent !== '');
    return page.textContent('#signin-error');
  };
  for (let i = 0; i < 5; i++) assert.equal(await attempt(`guess${i}`), '操作员代码或密码错误');
  assert.equal(await attempt('kq02003'), '该操作员登录失败次数过多，请 10 分钟后再试');
  assert.equal(await page.isVisible('#workspace'), false);
  await page.close();
});

test('a stopped operator cannot sign in', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await page.fill('#signin-operator', '009');
  await page.fill('#signin-password', 'kq01009');
  await page.click('#signin-submit');
  await page.waitForFunction(() => document.getElementById('signin-error').textContent !== '');
  assert.equal(await page.textContent('#signin-error'), '该操作员已停用');
  await page.close();
});

test('an operator signs in, sees the menu, and signs out', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '001', 'kq01001');
  const who = await page.textContent('#who');
  assert.match(who, /王建国/);
  assert.match(who, new RegExp(today().replaceAll('/', '\\/')));
  const menu = await page.locator('#menu-items button').allTextContents();
  assert.ok(menu.includes('取消结算'), `menu: ${menu}`);
  await page.click('#signout');
  await page.waitForSelector('#signin:not([hidden])');
  assert.equal(await page.evaluate(() => sessionStorage.getItem('kq.workstation.token')), null);
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('a reload keeps the session and its open windows', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '02', '001', 'kq02001');
  await page.getByRole('button', { name: '取消结算', exact: true }).click();
  await page.locator('.window[data-class="w_svc305"]').waitFor();
  await page.reload();
  await page.locator('.window[data-class="w_svc305"]').waitFor();
  assert.match(await page.textContent('#who'), /刘洋/);
  await page.close();
});

test('only an operator with CJ signs in on another business date', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  assert.match(await page.textContent('#signin-date-hint'), /CJ/);
  await page.selectOption('#signin-company', '01');
  await page.fill('#signin-operator', '003');
  await page.fill('#signin-password', 'kq01003');
  await page.fill('#signin-date', today(-1));
  await page.click('#signin-submit');
  await page.waitForFunction(() => document.getElementById('signin-error').textContent !== '');
  assert.equal(await page.textContent('#signin-error'), `您没有选择营业日期的权限，营业日期只能是今天（${today()}）`);
  assert.equal(await page.isVisible('#workspace'), false);

  await page.fill('#signin-operator', '004');
  await page.fill('#signin-password', 'kq01004');
  await page.click('#signin-submit');
  await page.waitForSelector('#workspace:not([hidden]) #menu-items button');
  assert.match(await page.textContent('#who'), new RegExp(`营业日期 ${today(-1).replaceAll('/', '\\/')}`));
  await page.close();
});

test('a session ended elsewhere brings back the sign-in page with a message the cashier understands', async () => {
  const page = await openPage(ws.browser, ws.server.url);
  await signIn(page, '01', '002', 'kq01002');
  const token = await tokenOf(page);
  assert.equal((await api(ws.server.url, token, 'POST', '/api/signout', {})).status, 200);
  await page.getByRole('button', { name: '取消结算', exact: true }).click();
  await page.waitForSelector('#signin:not([hidden])');
  assert.equal(await page.textContent('#signin-error'), '会话无效或已过期，请重新登录');
  assert.equal(await page.isVisible('#workspace'), false);
  assert.deepEqual(page.problems, []);
  await page.close();
});

test('a page of another site open in the browser cannot lock the operators out', async () => {
  // Another site, on another port of this machine, sends 25 wrong passwords
  // the ways a page can: plain text without asking, and JSON.
  const site = http.createServer((req, res) => {
    res.setHeader('Content-Type', 'text/html; charset=utf-8');
    res.end('<!DOCTYPE html><title>other</title>');
  });
  await new Promise((done) => site.listen(0, '127.0.0.1', done));
  const page = await ws.browser.context.newPage();
  await page.goto(`http://127.0.0.1:${site.address().port}/`);
  const sent = await page.evaluate(async (target) => {
    const body = JSON.stringify({ company: '01', operator: '004', password: 'guess' });
    let answered = 0;
    for (let i = 0; i < 25; i++) {
      await fetch(target, { method: 'POST', mode: 'no-cors', headers: { 'Content-Type': 'text/plain' }, body });
      answered++;
      await fetch(target, { method: 'POST', headers: { 'Content-Type': 'application/json' }, body }).catch(() => {});
    }
    return answered;
  }, new URL('/api/signin', ws.server.url).href);
  assert.equal(sent, 25);
  await page.close();
  site.close();

  const own = await openPage(ws.browser, ws.server.url);
  await signIn(own, '01', '004', 'kq01004');
  assert.match(await own.textContent('#who'), /陈静/);
  await own.close();
});

// WCAG contrast ratio of the text of `selector` against its background.
async function contrast(page, selector) {
  return page.$eval(selector, (node) => {
    const rgb = (c) => c.match(/[\d.]+/g).slice(0, 3).map(Number);
    const lum = ([r, g, b]) => {
      const f = (v) => { const s = v / 255; return s <= 0.03928 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4; };
      return 0.2126 * f(r) + 0.7152 * f(g) + 0.0722 * f(b);
    };
    const style = getComputedStyle(node);
    const [a, b] = [lum(rgb(style.color)), lum(rgb(style.backgroundColor))].sort((x, y) => y - x);
    return (a + 0.05) / (b + 0.05);
  });
}

test('the sign-in page remembers the company and operator of this browser, and 登录 stays readable on hover', async () => {
  const first = await openPage(ws.browser, ws.server.url);
  await signIn(first, '02', '002', 'kq02002');
  await first.close();
  const page = await openPage(ws.browser, ws.server.url);
  assert.equal(await page.inputValue('#signin-company'), '02');
  assert.equal(await page.inputValue('#signin-operator'), '002');
  assert.equal(await page.inputValue('#signin-password'), '');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'signin-password');
  assert.ok(!JSON.stringify(await page.evaluate(() => ({ ...localStorage }))).includes('kq02002'), 'no password kept');

  const resting = await contrast(page, '#signin-submit');
  await page.hover('#signin-submit');
  await page.waitForTimeout(100);  // any transition
  const hovered = await contrast(page, '#signin-submit');
  assert.ok(resting >= 4.5 && hovered >= 4.5, `contrast of 登录: ${resting.toFixed(2)} at rest, ${hovered.toFixed(2)} on hover`);
  await page.evaluate(() => localStorage.clear());
  await page.close();
});
