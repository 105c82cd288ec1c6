// The workstation page: sign-in, then the main menu and the windows.
import { get, onUnauthorized, post, setToken, token } from './api.js';
import { el } from './dom.js';
import { formatDate, maskDate, parseDate } from './dates.js';
import { configure, follow, interact, onBusyChange, busy } from './interaction.js';
import { Desk } from './windows.js';

const $ = (id) => document.getElementById(id);
const desk = new Desk($('tabs'), $('windows'));

configure({
  apply: (answer) => desk.apply(answer),
  reload: async () => desk.replace(await get('/api/windows')),
});
// The page stops taking clicks while an event runs long enough to be seen
// (the second click of a double-click must still reach the list), and
// tells tests and scripts whether it is idle.
let blockTimer = null;
onBusyChange((on) => {
  document.body.dataset.busy = String(on);
  clearTimeout(blockTimer);
  if (on) blockTimer = setTimeout(() => { $('blocker').hidden = false; }, 400);
  else $('blocker').hidden = true;
});
document.body.dataset.busy = 'false';
onUnauthorized((message) => showSignIn(message));

// While an event runs, keys go nowhere but to dialogs.
document.addEventListener('keydown', (e) => {
  if (busy() && !e.target.closest('.dialog')) e.preventDefault();
}, true);

async function showSignIn(message = '') {
  setToken(null);
  desk.clear();
  $('workspace').hidden = true;
  $('signin').hidden = false;
  $('signin-error').textContent = message;
  $('signin-password').value = '';
  try {
    const info = await get('/api/signin');
    const select = $('signin-company');
    const chosen = select.value;
    select.replaceChildren(...info.companies.map((c) => el('option', { value: c.code }, `${c.code} ${c.name}`)));
    if (chosen) select.value = chosen;
    if (!$('signin-date').value) $('signin-date').value = info.today;
  } catch (e) {
    $('signin-error').textContent = e.message;
  }
  ($('signin-operator').value ? $('signin-password') : $('signin-operator')).focus();
}

$('signin-date').addEventListener('input', (e) => { e.target.value = maskDate(e.target.value); });

$('signin-form').addEventListener('submit', async (e) => {
  e.preventDefault();
  const date = $('signin-date').value.trim() || formatDate(new Date());
  if (!parseDate(date)) {
    $('signin-error').textContent = '营业日期输入错误，须为 yyyy/mm/dd';
    return;
  }
  $('signin-submit').disabled = true;
  $('signin-error').textContent = '';
  try {
    const answer = await post('/api/signin', {
      company: $('signin-company').value,
      operator: $('signin-operator').value.trim(),
      password: $('signin-password').value,
      date,
    });
    setToken(answer.token);
    await showWorkspace(answer.session);
  } catch (err) {
    $('signin-error').textContent = err.message;
  } finally {
    $('signin-submit').disabled = false;
  }
});

$('signout').addEventListener('click', async () => {
  try {
    await post('/api/signout');
  } catch (e) {
    // Signed out either way.
  }
  showSignIn();
});

async function showWorkspace(session) {
  $('signin').hidden = true;
  $('workspace').hidden = false;
  const authorities = session.operator.authorities.length ? session.operator.authorities.join(',') : '无';
  $('who').textContent = `${session.company.name} · 操作员 ${session.operator.code} ${session.operator.name}（权限 ${authorities}）· 营业日期 ${session.business_date}`;
  const menu = await get('/api/menu');
  $('menu-items').replaceChildren(...menu.menu.map((m) => el('li', {},
    el('button', { type: 'button', dataset: { class: m.class },
      onclick: () => interact(() => post('/api/windows', { class: m.class })) }, m.title))));
  desk.replace(await get('/api/windows'));
  if (session.dialog) interact(() => follow({ dialog: session.dialog, windows: [], closed: [] }));
}

async function start() {
  if (!token()) return showSignIn();
  try {
    await showWorkspace(await get('/api/session'));
  } catch (e) {
    showSignIn(e.status === 401 ? '' : e.message);
  }
}

start();
