// The workstation page: sign-in, then the main menu and the windows.
import { get, onUnauthorized, post, setToken, token } from './api.js';
import { el } from './dom.js';
import { maskDate, parseDate } from './dates.js';
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

// The company and operator last signed in with on this browser (never the
// password), offered again at the next sign-in.
const REMEMBERED_KEY = 'kq.workstation.signin';
function remembered() {
  try {
    const r = JSON.parse(localStorage.getItem(REMEMBERED_KEY) || '{}');
    return { company: typeof r.company === 'string' ? r.company : '', operator: typeof r.operator === 'string' ? r.operator : '' };
  } catch (e) {
    return { company: '', operator: '' };
  }
}
function remember(company, operator) {
  try {
    localStorage.setItem(REMEMBERED_KEY, JSON.stringify({ company, operator }));
  } catch (e) {
    // A browser that keeps nothing only asks again.
  }
}

// The server's today as the sign-in page last heard it: a date left at it
// is not sent, and the server takes its own today.
let serverToday = '';

async function showSignIn(message = '') {
  setToken(null);
  desk.clear();
  $('workspace').hidden = true;
  $('signin').hidden = false;
  $('signin-error').textContent = message;
  $('signin-password').value = '';
  const last = remembered();
  if (!$('signin-operator').value) $('signin-operator').value = last.operator;
  try {
    const info = await get('/api/signin');
    const select = $('signin-company');
    const chosen = select.value || last.company;
    select.replaceChildren(...info.companies.map((c) => el('option', { value: c.code }, `${c.code} ${c.name}`)));
    if (chosen && info.companies.some((c) => c.code === chosen)) select.value = chosen;
    if (!$('signin-date').value || $('signin-date').value === serverToday) $('signin-date').value = info.today;
    serverToday = info.today;
  } catch (e) {
    $('signin-error').textContent = e.message;
  }
  ($('signin-operator').value ? $('signin-password') : $('signin-operator')).focus();
}

$('signin-date').addEventListener('input', (e) => { e.target.value = maskDate(e.target.value); });

$('signin-form').addEventListener('submit', async (e) => {
  e.preventDefault();
  const date = $('signin-date').value.trim();
  if (date && !parseDate(date)) {
    $('signin-error').textContent = '营业日期输入错误，须为 yyyy/mm/dd';
    return;
  }
  $('signin-submit').disabled = true;
  $('signin-error').textContent = '';
  try {
    const company = $('signin-company').value;
    const operator = $('signin-operator').value.trim();
    const answer = await post('/api/signin', {
      company,
      operator,
      password: $('signin-password').value,
      date: date === serverToday ? '' : date,
    });
    remember(company, operator);
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
    showSignIn(e.message);
  }
}

start();
