// The open windows of the session, drawn from their states (docs/protocol.md,
// "Window state"): one tab each, the active one shown. Controls with a
// geometry are placed where the window puts them and follow the window's
// size by their resize rules; the others flow below.
import { el, caption } from './dom.js';
import { makeControl } from './controls.js';
import { DataWindowView } from './datawindow.js';
import { interact, follow } from './interaction.js';
import { post } from './api.js';
import { download } from './printing.js';
import { alertBox } from './dialogs.js';

// Room above the controls for the caption of a group box at the top.
const TOP = 10;

class WindowView {
  constructor(state, desk) {
    this.desk = desk;
    this.id = state.id;
    this.controls = new Map();
    this.titleText = el('span', { class: 'window-title-text' });
    this.pdfButton = el('button', { type: 'button', onclick: () => this.pdf() }, '导出 PDF');
    this.title = el('div', { class: 'window-title' }, this.titleText, el('span', { class: 'spacer' }), this.pdfButton);
    this.toolbar = el('div', { class: 'toolbar', role: 'toolbar' });
    this.commands = el('div', { class: 'commands', role: 'menubar' });
    this.canvas = el('div', { class: 'canvas' });
    this.flow = el('div', { class: 'flow' });
    this.search = new SearchBar(this);
    // The form comes first in the page's order, so that Tab goes through the
    // window's fields before its commands; app.css shows the title, tool bar
    // and commands above it all the same.
    this.el = el('section', { class: 'window', dataset: { windowId: state.id, class: state.class } },
      this.search.el, this.canvas, this.flow, this.title, this.toolbar, this.commands);
    this.tab = el('div', { class: 'tab', role: 'tab', dataset: { windowId: state.id }, onclick: () => desk.activate(this.id) },
      this.tabText = el('span'),
      el('button', { type: 'button', class: 'tab-close', title: '关闭', 'aria-label': '关闭窗口',
        onclick: (e) => { e.stopPropagation(); this.send({ control: '', event: 'close' }); } }, '×'));
    new ResizeObserver(() => this.layout()).observe(this.canvas);
  }

  // Sends events of this window, each after the typed texts not yet sent.
  send(event) {
    this.sendAll([event]);
  }

  sendAll(events) {
    interact(async () => {
      let answer = { windows: [], closed: [] };
      const typed = [];
      for (const view of this.controls.values()) {
        const text = view.pendingText();
        if (text !== null && !events.some((e) => e.control === view.name && e.text !== undefined)) typed.push([view, text]);
      }
      const all = [
        ...typed.map(([view, text]) => ({ control: view.name, event: 'modified', text, view })),
        ...events.map((e) => ({ ...e, view: this.controls.get(e.control) })),
      ];
      for (let i = 0; i < all.length; i++) {
        const { view, ...event } = all[i];
        answer = await post('/api/events', { window: this.id, ...event });
        if (view && event.text !== undefined) view.sent(event.text);
        if (i < all.length - 1) answer = await follow(answer);
      }
      return answer;
    });
  }

  update(state) {
    this.state = state;
    this.el.dataset.class = state.class;
    const caption = state.caption || state.title;
    this.titleText.textContent = caption;
    this.tabText.textContent = caption;
    this.tab.title = caption;
    this.drawMenu(state);
    const seen = new Set();
    for (const c of state.controls || []) {
      seen.add(c.name);
      if (c.kind === 'toolbar') continue;
      let view = this.controls.get(c.name);
      if (!view || view.kind !== c.kind) {
        if (view) view.el.remove();
        view = c.kind === 'datawindow' ? new DataWindowView(c, this) : makeControl(c, this);
        if (!view) continue;
        this.controls.set(c.name, view);
      }
      const parent = c.geometry ? this.canvas : this.flow;
      if (view.el.parentNode !== parent) parent.append(view.el);  // moving it would lose the focus
      view.update(c);
    }
    for (const [name, view] of this.controls) {
      if (!seen.has(name)) {
        view.el.remove();
        this.controls.delete(name);
      }
    }
    this.orderCanvas();
    this.pdfButton.hidden = !this.printable();
    this.search.update(this.searchable());
    this.layout();
    const focusMoved = state.focus !== this.focused;
    this.focused = state.focus;
    if (focusMoved && this.desk.activeId === this.id) this.restoreFocus();
  }

  // Puts the focus on the window's focused control (coming to the front).
  restoreFocus() {
    const view = this.focused ? this.controls.get(this.focused) : null;
    if (view && view.focus && view.state.enabled) view.focus();
  }

  drawMenu(state) {
    const menu = state.menu || {};
    const hasToolbar = (state.controls || []).some((c) => c.kind === 'toolbar' && c.visible !== false);
    const tools = hasToolbar || !(state.controls || []).some((c) => c.kind === 'toolbar') ? menu.toolbar || [] : [];
    this.toolbar.replaceChildren(...tools.map((b) => {
      const c = caption(b.text);
      const event = { control: '', event: b.event };
      if (b.number) event.number = b.number;
      return el('button', { type: 'button', disabled: !b.enabled, dataset: { event: b.event }, onclick: () => this.send(event) }, c.text);
    }));
    this.toolbar.hidden = tools.length === 0;
    const commands = menu.commands || [];
    this.commands.replaceChildren(...commands.map((m) =>
      el('button', { type: 'button', disabled: !m.enabled, dataset: { command: m.index },
        onclick: () => this.send({ control: '', event: 'ue_cus', number: m.index }) }, caption(m.text).text)));
    this.commands.hidden = commands.length === 0;
  }

  // The controls placed on the canvas in reading order (top to bottom, then
  // left to right), which is the order Tab follows. Moving an element loses
  // its focus, so the one focused takes it back.
  orderCanvas() {
    const placed = (this.state.controls || []).filter((c) => c.geometry && this.controls.has(c.name));
    placed.sort((a, b) => a.geometry.y - b.geometry.y || a.geometry.x - b.geometry.x);
    const wanted = placed.map((c) => this.controls.get(c.name).el);
    const now = [...this.canvas.children];
    if (wanted.length === now.length && wanted.every((e, i) => e === now[i])) return;
    const active = document.activeElement;
    for (const e of wanted) this.canvas.append(e);
    if (active && active !== document.activeElement && this.canvas.contains(active)) active.focus();
  }

  // The list the search box narrows: the first visible grid data window.
  searchable() {
    const c = (this.state.controls || []).find((s) => s.kind === 'datawindow' && s.visible && s.style === 'grid');
    return c ? { state: c, view: this.controls.get(c.name) } : null;
  }

  // The first visible data window, whose printout "导出 PDF" downloads.
  printable() {
    return (this.state.controls || []).find((c) => c.kind === 'datawindow' && c.visible && c.dataobject);
  }

  async pdf() {
    const c = this.printable();
    if (!c) return;
    try {
      await download(`/api/windows/${this.id}/controls/${encodeURIComponent(c.name)}/pdf`, `${c.dataobject}.pdf`);
    } catch (e) {
      await alertBox(e.message);
    }
  }

  // Places the controls: their geometry, grown by their resize rules by what
  // the window has beyond the space the controls were laid out in.
  layout() {
    const controls = (this.state && this.state.controls) || [];
    let designW = 0;
    let designH = 0;
    for (const c of controls) {
      if (!c.geometry) continue;
      designW = Math.max(designW, c.geometry.x + c.geometry.width);
      designH = Math.max(designH, c.geometry.y + c.geometry.height);
    }
    const dx = Math.max(0, this.canvas.clientWidth - designW - 8);
    const dy = Math.max(0, this.canvas.clientHeight - designH - 8 - TOP);
    for (const c of controls) {
      const view = this.controls.get(c.name);
      if (!view || !c.geometry) continue;
      const r = c.resize || { x: 0, y: 0, width: 0, height: 0 };
      const g = c.geometry;
      Object.assign(view.el.style, {
        left: `${g.x + (dx * r.x) / 100}px`,
        top: `${TOP + g.y + (dy * r.y) / 100}px`,
        width: `${g.width + (dx * r.width) / 100}px`,
        height: `${g.height + (dy * r.height) / 100}px`,
      });
    }
    this.canvas.hidden = designH === 0;
  }
}

// The search box over a window's list, and its record counter "n / m" (rows
// shown / rows before the search). Typing narrows the list on the server a
// moment after the last key; Esc clears the search; Enter and the down arrow
// go to the list.
const SEARCH_DELAY_MS = 250;

class SearchBar {
  constructor(win) {
    this.win = win;
    this.target = null;
    this.sent = '';
    this.input = el('input', { type: 'search', class: 'search-input', placeholder: '搜索：委托书号、车牌、客户…', 'aria-label': '搜索列表' });
    this.count = el('span', { class: 'record-count', 'aria-live': 'polite', title: '显示的记录 / 全部记录' });
    this.el = el('div', { class: 'searchbar', role: 'search', hidden: true }, this.input, this.count);
    this.input.addEventListener('input', () => {
      clearTimeout(this.timer);
      this.timer = setTimeout(() => this.send(), SEARCH_DELAY_MS);
    });
    this.input.addEventListener('keydown', (e) => {
      if (e.key === 'Escape') {
        e.preventDefault();
        e.stopPropagation();
        clearTimeout(this.timer);
        this.input.value = '';
        this.send();
      } else if ((e.key === 'Enter' || e.key === 'ArrowDown') && !e.isComposing) {
        e.preventDefault();
        clearTimeout(this.timer);
        this.send();
        if (this.target && this.target.view) this.target.view.focus();
      }
    });
  }

  update(target) {
    this.target = target;
    this.el.hidden = !target;
    if (!target) return;
    const s = target.state;
    const search = s.search ?? '';
    // The server's search shows in the box unless the person is typing in it.
    if (document.activeElement !== this.input && this.input.value.trim() !== search) this.input.value = search;
    if (document.activeElement !== this.input) this.sent = search;
    this.count.textContent = `${s.rowcount ?? 0} / ${s.searchtotal ?? s.rowcount ?? 0}`;
  }

  // Sends the text in the box when it differs from the search in force; the
  // box is read when the interaction runs, so that keys typed meanwhile count.
  send() {
    if (!this.target) return;
    const control = this.target.state.name;
    interact(async () => {
      const text = this.input.value.trim();
      if (text === this.sent) return { windows: [], closed: [] };
      this.sent = text;
      return post('/api/events', { window: this.win.id, control, event: 'search', text });
    });
  }
}

export class Desk {
  constructor(tabs, windows) {
    this.tabsEl = tabs;
    this.windowsEl = windows;
    this.views = new Map();
    this.activeId = null;
  }

  // Draws the windows of an answer: changed states, closed ids, the active one.
  apply(answer) {
    for (const state of answer.windows || []) this.upsert(state);
    for (const id of answer.closed || []) this.remove(id);
    if (answer.active !== undefined) this.activate(answer.active);
    else if (!this.views.has(this.activeId)) this.activate(null);
  }

  // Every open window (after a reload or an error).
  replace(all) {
    const ids = new Set((all.windows || []).map((w) => w.id));
    for (const id of [...this.views.keys()]) if (!ids.has(id)) this.remove(id);
    this.apply({ windows: all.windows || [], closed: [], active: all.active ?? null });
  }

  upsert(state) {
    let view = this.views.get(state.id);
    if (!view) {
      view = new WindowView(state, this);
      this.views.set(state.id, view);
      this.tabsEl.append(view.tab);
      this.windowsEl.append(view.el);
    }
    view.update(state);
  }

  remove(id) {
    const view = this.views.get(id);
    if (!view) return;
    view.el.remove();
    view.tab.remove();
    this.views.delete(id);
  }

  activate(id) {
    if (id === null || !this.views.has(id)) id = [...this.views.keys()].pop() ?? null;
    const changed = id !== this.activeId;
    this.activeId = id;
    for (const [key, view] of this.views) {
      const active = key === id;
      view.el.hidden = !active;
      view.tab.classList.toggle('active', active);
      view.tab.setAttribute('aria-selected', String(active));
      if (active) view.layout();
    }
    // A window coming to the front (another closed, a tab chosen) takes the focus.
    if (changed && id !== null) this.views.get(id).restoreFocus();
  }

  clear() {
    for (const id of [...this.views.keys()]) this.remove(id);
    this.activeId = null;
  }
}

