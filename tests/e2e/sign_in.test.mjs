// Signing in and out at the workstation.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { useWorkstation } from './support/fixture.mjs';
import { openPage, signIn, today } from './support/workstation.mjs';

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
