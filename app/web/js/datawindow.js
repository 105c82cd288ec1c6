// A data window control: the renderer's fragment (grid, form or report) and
// what the person does in it.
//
// Grids show only a window of rows; the fragment keeps the table's full
// height with spacer rows. The view keeps the rows it was sent (grid_rows.js)
// and, as the person scrolls, draws the rows in sight from them at once and
// asks the server for the blocks ahead while the scroll goes on. A click on a heading is sent as
// "clicked" with row 0 and the heading's column (the server sorts a list by
// it; the state's "sort" puts an arrow on the headings); arrow, page, Home and End keys move
// the current row (rowfocuschanged); Enter and a double-click send
// doubleclicked for the row. The current row is the one highlighted row.
// Forms send itemchanged for edited fields, check boxes and radio choices.
import { get } from './api.js';
import { el, setRendered } from './dom.js';
import { GridRows } from './grid_rows.js';
import { onBusyChange } from './interaction.js';

// Views with a row moved to whose answer may not have come: once every
// interaction has ended the server's current row is the one to act on again.
const moving = new Set();
onBusyChange((busy) => {
  if (busy) return;
  for (const view of moving) view.movedTo = 0;
  moving.clear();
});

const ROW_KEYS = new Set(['ArrowDown', 'ArrowUp', 'PageDown', 'PageUp', 'Home', 'End']);

export class DataWindowView {
  constructor(state, win) {
    this.win = win;
    this.name = state.name;
    this.kind = state.kind;
    this.html = null;
    this.rows = new GridRows();
    this.scrolled = { top: 0, at: 0, direction: 0, speed: 0, step: 0 };
    this.el = el('div', { class: 'ctl ctl-datawindow', tabindex: 0, dataset: { control: state.name } });
    this.content = el('div', { class: 'dw-content' });
    this.el.append(this.content);
    this.el.addEventListener('click', (e) => this.onClick(e));
    this.el.addEventListener('dblclick', (e) => this.onDoubleClick(e));
    this.el.addEventListener('keydown', (e) => this.onKey(e));
    this.el.addEventListener('scroll', () => this.onScroll());
    // While a mouse button is down on the data window its rows are not
    // replaced: the press and its release must meet the same element, or the
    // click (and the double-click it may complete) would be lost.
    this.pressing = false;
    this.pendingHtml = null;
    this.el.addEventListener('mousedown', () => {
      this.pressing = true;
      document.addEventListener('mouseup', () => setTimeout(() => this.release(), 0), { once: true, capture: true });
    });
  }

  release() {
    this.pressing = false;
    if (this.pendingHtml !== null) {
      const html = this.pendingHtml;
      this.pendingHtml = null;
      if (html !== this.html) this.draw(html);
    }
  }

  // Shows a fragment now, or once the mouse button is released.
  show(html) {
    if (this.pressing) this.pendingHtml = html;
    else if (html !== this.html) this.draw(html);
  }

  pendingText() {
    return null;
  }
  sent() {}

  // The focus on the data window (its keys move the current row).
  focus() {
    this.el.focus();
  }

  update(state) {
    const previous = this.state;
    this.state = state;
    this.el.hidden = !state.visible;
    this.el.dataset.style = state.style || '';
    this.el.dataset.rowcount = state.rowcount ?? 0;
    this.el.dataset.currentrow = state.currentrow ?? 0;
    if (state.html !== undefined) this.show(state.html);
    this.markSort();
    if (previous && previous.currentrow !== state.currentrow && this.keyMoved) this.showCurrent();
    this.keyMoved = false;
    // The row moved to stays the one acted on until every queued event has
    // been answered: an earlier answer may name a row the person has already
    // left (down, down, up: the answer of the first down names row 3).
  }

  draw(html) {
    const top = this.el.scrollTop;
    const left = this.el.scrollLeft;
    const focused = this.focusedField();
    setRendered(this.content, html);
    this.html = html;
    this.el.scrollTop = top;
    this.el.scrollLeft = left;
    if (focused) this.refocus(focused);
    this.markSort();
    this.rows.reset(this.isGrid() ? this.table() : null);
    this.drawn = null;
    this.serverFirst = this.table() ? Number(this.table().dataset.firstRow) : 0;
    this.paintRows();
    this.askRows();
  }

  // The field of the fragment that has the focus (a radio choice, a check
  // box, an editor), described so that the same field of the next fragment
  // can take it back: redrawing must not lose the person's place.
  focusedField() {
    const active = document.activeElement;
    if (!active || active === this.el || !this.content.contains(active)) return null;
    const at = active.closest('[data-column][data-row]');
    if (!at) return null;
    return { column: at.dataset.column, row: at.dataset.row, type: active.type || '', value: active.value ?? '' };
  }

  refocus(f) {
    const at = this.content.querySelector(`[data-column="${CSS.escape(f.column)}"][data-row="${CSS.escape(f.row)}"]`);
    if (!at) return;
    const inputs = [...at.querySelectorAll('input')];
    const same = inputs.find((i) => i.type === f.type && (f.type !== 'radio' || i.value === f.value)) || inputs[0];
    if (same && !same.disabled) same.focus();
  }

  // Takes the focus: a grid itself (its keys move the current row); a form
  // its first field the person may change, the chosen one of a radio group.
  focus() {
    if (this.isGrid() || !this.content.querySelector('input:not([disabled])')) {
      this.el.focus();
      return;
    }
    const first = this.content.querySelector('input:not([disabled])');
    const group = first.type === 'radio' ? this.content.querySelector(`input[type="radio"][name="${CSS.escape(first.name)}"]:checked:not([disabled])`) : null;
    (group || first).focus();
  }

  // The order of a sorted grid on its headings: aria-sort, drawn as an arrow.
  markSort() {
    const keys = (this.state && this.state.sort) || [];
    for (const th of this.content.querySelectorAll('th[data-column]')) {
      const key = keys.find((k) => k.column === th.dataset.column);
      if (key) th.setAttribute('aria-sort', key.descending ? 'descending' : 'ascending');
      else th.removeAttribute('aria-sort');
    }
  }

  isGrid() {
    return this.state && this.state.style === 'grid';
  }

  // The row and column under an event's target.
  hit(target) {
    const row = target.closest('[data-row]');
    const cell = target.closest('[data-column],[data-object]');
    return {
      row: row ? Number(row.dataset.row) : 0,
      column: cell ? cell.dataset.column || cell.dataset.object || '' : '',
    };
  }

  onClick(e) {
    if (!this.state || !this.state.enabled) return;
    if (e.target instanceof HTMLInputElement && (e.target.type === 'checkbox' || e.target.type === 'radio')) {
      this.onChoice(e);
      return;
    }
    if (this.isGrid()) {
      const th = e.target.closest('th');
      if (th) {
        // Shift and Ctrl held are sent as keyflags (1, 2), only when held.
        const keyflags = (e.shiftKey ? 1 : 0) | (e.ctrlKey || e.metaKey ? 2 : 0);
        this.win.send({ control: this.name, event: 'clicked', row: 0, column: th.dataset.column || th.dataset.object || '',
          ...(keyflags ? { keyflags } : {}) });
        return;
      }
      const tr = e.target.closest('tr.kq-row');
      if (tr) {
        const at = this.hit(e.target);
        this.movedTo = at.row;
        moving.add(this);
        this.markCurrent(at.row);
        this.win.send({ control: this.name, event: 'clicked', ...at });
      }
      return;
    }
    const field = e.target.closest('.kq-field.kq-edit[data-column][data-row]');
    if (field && !field.querySelector('input')) this.edit(field);
  }

  onDoubleClick(e) {
    if (!this.state || !this.state.enabled) return;
    if (this.isGrid() && !e.target.closest('tr.kq-row')) return;
    if (e.target.closest('input')) return;
    this.win.send({ control: this.name, event: 'doubleclicked', ...this.hit(e.target) });
  }

  onKey(e) {
    if (!this.state || !this.state.enabled || !this.isGrid() || e.target !== this.el) return;
    const rows = this.state.rowcount || 0;
    // A row the keys moved to whose answer has not come yet counts as
    // current: Enter right after an arrow key acts on the row highlighted next.
    const current = this.movedTo || this.state.currentrow || 0;
    if (e.key === 'Enter') {
      e.preventDefault();
      if (current > 0) this.win.send({ control: this.name, event: 'doubleclicked', row: current, column: '' });
      return;
    }
    if (!ROW_KEYS.has(e.key) || rows === 0) return;
    e.preventDefault();
    const page = Math.max(1, Math.floor(this.el.clientHeight / this.rowHeight()) - 1);
    const target = {
      ArrowDown: current + 1, ArrowUp: current - 1, PageDown: current + page, PageUp: current - page, Home: 1, End: rows,
    }[e.key];
    const row = Math.max(1, Math.min(rows, target));
    if (row === current) return;
    this.keyMoved = true;
    this.movedTo = row;
    moving.add(this);
    this.markCurrent(row);
    this.win.send({ control: this.name, event: 'rowfocuschanged', row });
  }

  // Check boxes and radio choices of a form: the page does not change them
  // itself; the server's answer shows what the window kept.
  onChoice(e) {
    const input = e.target;
    const at = input.closest('[data-column][data-row]');
    const data = input.type === 'checkbox' ? (input.checked ? input.dataset.on : input.dataset.off) ?? '' : input.value;
    e.preventDefault();
    if (!at || input.disabled) return;
    const row = Number(at.dataset.row);
    const column = at.dataset.column;
    this.win.sendAll([
      { control: this.name, event: 'clicked', row, column },
      { control: this.name, event: 'itemchanged', row, column, data },
    ]);
  }

  // An editable field of a form becomes an input until Enter or leaving it.
  edit(field) {
    const before = field.textContent;
    const input = el('input', { class: 'cell-editor', value: before });
    if (field.dataset.limit) input.maxLength = Number(field.dataset.limit);  // the column's char(n)
    let finished = false;
    const finish = (commit) => {
      if (finished) return;
      finished = true;
      const value = input.value;
      field.textContent = before;  // until the server's answer shows what the window kept
      if (commit && value !== before) {
        this.win.send({ control: this.name, event: 'itemchanged', row: Number(field.dataset.row), column: field.dataset.column, data: value });
      }
    };
    input.addEventListener('keydown', (e) => {
      if (e.key === 'Enter') { e.preventDefault(); finish(true); }
      if (e.key === 'Escape') { e.preventDefault(); e.stopPropagation(); finish(false); }
    });
    input.addEventListener('blur', () => finish(true));
    field.replaceChildren(input);
    input.focus();
    input.select();
  }

  table() {
    return this.content.querySelector('table.kq-grid[data-first-row]');
  }

  rowHeight() {
    const outer = this.content.querySelector('[data-row-height]');
    return outer ? Number(outer.dataset.rowHeight) || 24 : 24;
  }

  // Draws the highlight on `row` at once, before the server's answer redraws
  // the rows with it: one highlighted row, the current one.
  markCurrent(row) {
    for (const tr of this.content.querySelectorAll('tr.kq-current, tr.kq-selected')) tr.classList.remove('kq-current', 'kq-selected');
    const tr = this.content.querySelector(`tr.kq-row[data-row="${row}"]`);
    if (tr) tr.classList.add('kq-current', 'kq-selected');
  }

  // Scrolls the current row into sight (nearest edge), whether its row is
  // drawn yet or not: the rows in sight are drawn as the scroll comes.
  showCurrent() {
    const row = this.state && this.state.currentrow;
    const table = this.table();
    if (!row || !table || !this.isGrid()) {
      const tr = this.content.querySelector('tr.kq-current');
      if (tr) tr.scrollIntoView({ block: 'nearest' });
      return;
    }
    const h = this.rowHeight();
    const head = table.tHead ? table.tHead.offsetHeight : h;
    const top = (row - 1) * h;
    const bottom = row * h + head;
    if (top < this.el.scrollTop) this.el.scrollTop = top;
    else if (bottom > this.el.scrollTop + this.el.clientHeight) this.el.scrollTop = bottom - this.el.clientHeight;
    this.paintRows();
  }

  // The rows [first, last] in sight, of `count` rows.
  sight() {
    const table = this.table();
    const count = table ? Number(table.dataset.rows) || 0 : 0;
    const h = this.rowHeight();
    const first = Math.max(1, Math.min(count, Math.floor(this.el.scrollTop / h)));
    // Not laid out (a window behind another, not yet placed): the server's
    // window of rows stands for the rows in sight.
    const height = this.el.clientHeight || ((this.state && this.state.row_window) || 100) * h;
    const last = Math.max(0, Math.min(count, Math.ceil((this.el.scrollTop + height) / h)));
    return { table, count, first, last, h };
  }

  // A scroll: the rows in sight drawn now from those held, the rows ahead
  // asked for now, and once the scroll rests the server's window of rows
  // brought to the rows in sight (later states are drawn around them).
  onScroll() {
    if (!this.isGrid()) return;
    const now = performance.now();
    const s = this.scrolled;
    const step = this.el.scrollTop - s.top;
    if (step !== 0) {
      const h = this.rowHeight();
      const elapsed = Math.max(1, now - s.at);
      s.direction = Math.sign(step);
      s.speed = elapsed > 200 ? 0 : Math.abs(step) / h / elapsed;
      s.step = Math.abs(step);
    }
    s.top = this.el.scrollTop;
    s.at = now;
    this.paintRows();
    this.askRows();
    clearTimeout(this.timer);
    this.timer = setTimeout(() => this.rested(), 150);
  }

  // Draws the rows in sight, and those the next frames of the scroll will
  // bring into sight, from the rows held; rows not held yet stay spacers
  // until their block comes.
  paintRows() {
    const { table, count, first, last, h } = this.sight();
    if (!table || this.el.hidden || !this.isGrid() || count === 0) return;
    const s = this.scrolled;
    // Ahead in the scroll's direction: the travel of the next frames (the
    // browser may move the scroll once more before this view hears of it);
    // behind: a few rows.
    const screen = Math.max(1, last - first + 1);
    const ahead = s.step > 0 ? Math.min(400, Math.ceil((s.step * 3) / (2 * h)) + 2) : screen;
    const behind = s.step > 0 ? Math.ceil(s.step / h) + 2 : screen;
    let from = Math.max(1, first - (s.direction < 0 ? ahead : behind));
    let to = Math.min(count, last + (s.direction < 0 ? behind : ahead));
    // At rest at least the server's window of rows is drawn (all of a short
    // list); while scrolling only what comes into sight, which keeps a
    // frame's work small.
    const least = s.step > 0 ? 0 : (this.state && this.state.row_window) || 100;
    if (to - from + 1 < least) {
      from = Math.max(1, from - Math.ceil((least - (to - from + 1)) / 2));
      to = Math.min(count, from + least - 1);
      from = Math.max(1, Math.min(from, to - least + 1));
    }
    const tbody = table.tBodies[0];
    if (!tbody) return;
    const run = this.heldRun(from, to, first, last);
    const d = this.drawn;
    if (!d || d.tbody !== tbody || !run || run.to < d.from || run.from > d.to) {
      this.rebuildRows(tbody, table, run, count, h);
    } else {
      // Only the rows that leave or enter at either end change.
      for (let r = d.from; r < run.from; r += 1) d.top.nextElementSibling.remove();
      for (let r = run.to; r < d.to; r += 1) d.bottom.previousElementSibling.remove();
      const before = [];
      for (let r = run.from; r < d.from; r += 1) before.push(this.rows.get(r));
      if (before.length) d.top.after(...before);
      const after = [];
      for (let r = d.to + 1; r <= run.to; r += 1) after.push(this.rows.get(r));
      if (after.length) d.bottom.before(...after);
      d.from = run.from;
      d.to = run.to;
      d.top.firstChild.style.height = `${(run.from - 1) * h}px`;
      d.bottom.firstChild.style.height = `${(count - run.to) * h}px`;
    }
    table.dataset.firstRow = String(this.drawn.from);
    table.dataset.lastRow = String(this.drawn.to);
    const current = this.movedTo || (this.state && this.state.currentrow) || 0;
    if (current) this.markCurrent(current);
  }

  // The rows to draw: of [from, to], the run of held rows around the rows in
  // sight [first, last] (null when none of them is held).
  heldRun(from, to, first, last) {
    let anchor = 0;
    for (let r = first; r <= last && !anchor; r += 1) if (this.rows.get(r)) anchor = r;
    for (let r = from; r <= to && !anchor; r += 1) if (this.rows.get(r)) anchor = r;
    if (!anchor) return null;
    let a = anchor;
    let b = anchor;
    while (a > from && this.rows.get(a - 1)) a -= 1;
    while (b < to && this.rows.get(b + 1)) b += 1;
    return { from: a, to: b };
  }

  // Draws the body anew: a spacer, the rows of `run`, a spacer.
  rebuildRows(tbody, table, run, count, h) {
    const columns = table.querySelectorAll('thead th').length || 1;
    const spacer = (rows) => el('tr', { class: 'kq-spacer', 'aria-hidden': 'true' },
      el('td', { colspan: columns, style: `height:${rows * h}px` }));
    const from = run ? run.from : 1;
    const to = run ? run.to : 0;
    const rows = [];
    for (let r = from; r <= to; r += 1) rows.push(this.rows.get(r));
    const top = spacer(from - 1);
    const bottom = spacer(count - to);
    tbody.replaceChildren(top, ...rows, bottom);
    this.drawn = { tbody, top, bottom, from, to };
  }

  // Asks for the blocks of rows the view needs next.
  askRows() {
    const { table, count, first, last } = this.sight();
    if (!table || this.el.hidden || !this.isGrid() || count === 0) return;
    const s = this.scrolled;
    this.rows.trim(first, last);
    const blocks = this.rows.wanted(first, last, count, s.direction, s.speed);
    this.rows.request(blocks, count, (f, n) => this.fetchRows(f, n), () => {
      this.paintRows();
      this.askRows();
    });
  }

  // One request for rows [first, first + count): the control keeps that
  // window for its later states.
  fetchRows(first, count) {
    this.serverFirst = first;
    this.serverCount = count;
    return get(`/api/windows/${this.win.id}/controls/${encodeURIComponent(this.name)}/rows?first=${first}&count=${count}`);
  }

  // The scroll rests: the server's window of rows is brought to the rows in
  // sight, so that the next state the server sends draws them.
  rested() {
    const { table, count, first, last } = this.sight();
    if (!table || this.el.hidden || count === 0) return;
    this.scrolled.direction = 0;
    this.scrolled.speed = 0;
    this.scrolled.step = 0;
    const window = Math.max(this.state.row_window || 100, (last - first + 1) * 2);
    const inServer = this.serverFirst > 0 && first >= this.serverFirst && last < this.serverFirst + (this.serverCount || window);
    if (inServer) return;
    const from = Math.max(1, first - Math.floor((window - (last - first + 1)) / 2));
    const generation = this.rows.generation;
    this.fetchRows(from, window).then((answer) => {
      if (generation !== this.rows.generation) return;
      const t = document.createElement('template');
      t.innerHTML = answer.html ?? '';
      const fetched = t.content.querySelector('table.kq-grid');
      if (!fetched || Number(fetched.dataset.rows) !== count) return;
      this.rows.take(fetched);
      this.paintRows();
    }).catch(() => {
      // The next scroll asks again; a lost session is handled by the api module.
    });
  }
}
