// Modal dialogs. Those the server sends (docs/protocol.md, "Dialogs") resolve
// to the answer the protocol expects; the workstation's own (errors, the
// calendar of a date field) resolve for the page itself. Esc closes any of
// them with the answer of closing; Enter takes the default.
import { el, setRendered } from './dom.js';
import { formatDate, maskDate, parseDate } from './dates.js';
import { request } from './api.js';
import { download, printPages } from './printing.js';

const layer = () => document.getElementById('dialogs');

const ICON_TEXT = { information: 'i', exclamation: '!', stopsign: '×', question: '?' };

// Shows a dialog frame; `build(close)` returns { body, buttons, onKey,
// focus } and close(answer) ends the dialog with that answer.
function frame(kind, title, build, extraClass = '') {
  return new Promise((resolve) => {
    const previous = document.activeElement;
    let done = false;
    const close = (answer) => {
      if (done) return;
      done = true;
      backdrop.remove();
      if (previous && previous.isConnected && typeof previous.focus === 'function') previous.focus();
      resolve(answer);
    };
    const parts = build(close);
    const box = el('div', { class: `dialog ${extraClass}`, role: 'dialog', 'aria-modal': 'true', dataset: { kind } },
      el('div', { class: 'dialog-title' }, title || ''),
      parts.body,
      el('div', { class: 'dialog-buttons' }, parts.buttons));
    const backdrop = el('div', { class: 'dialog-backdrop' }, box);
    box.addEventListener('keydown', (e) => {
      if (parts.onKey && parts.onKey(e)) {
        e.preventDefault();
        e.stopPropagation();
        return;
      }
      if (e.key === 'Escape') {
        e.preventDefault();
        e.stopPropagation();
        close(parts.escape);
      }
    });
    layer().append(backdrop);
    (parts.focus || box.querySelector('button')).focus();
  });
}

function messagebox(d) {
  return frame('messagebox', d.title, (close) => {
    const buttons = (d.buttons && d.buttons.length ? d.buttons : ['确定']).map((text, i) =>
      el('button', { type: 'button', class: i + 1 === d.default ? 'primary' : '', dataset: { answer: i + 1 }, onclick: () => close(i + 1) }, text));
    const icon = ICON_TEXT[d.icon];
    return {
      body: el('div', { class: 'dialog-body' },
        icon ? el('div', { class: `dialog-icon icon-${d.icon}`, 'aria-hidden': 'true' }, icon) : null,
        el('p', { class: 'dialog-text' }, d.text ?? '')),
      buttons,
      escape: buttons.length,
      focus: buttons[(d.default || 1) - 1] || buttons[0],
    };
  });
}

// A selection list. Typing in its search field narrows the rows to those
// containing the text in any cell (without regard to case) and marks the
// first of them; ArrowDown/ArrowUp move among the rows shown, Enter answers
// the marked row's 1-based number in the full list (0 when none), Esc 0.
function selection(d) {
  return frame('selection', d.title, (close) => {
    let chosen = 0;
    const texts = (d.rows || []).map((cells) => cells.join('\u0001').toLowerCase());
    const rows = (d.rows || []).map((cells, i) => {
      const tr = el('tr', { dataset: { row: i + 1 }, onclick: () => choose(i + 1), ondblclick: () => { choose(i + 1); close(i + 1); } },
        cells.map((c) => el('td', {}, c)));
      return tr;
    });
    const shown = () => rows.map((_, i) => i + 1).filter((n) => !rows[n - 1].hidden);
    const choose = (n) => {
      chosen = n;
      rows.forEach((tr, i) => tr.classList.toggle('chosen', i + 1 === chosen));
      rows[chosen - 1]?.scrollIntoView({ block: 'nearest' });
    };
    const step = (by) => {
      const visible = shown();
      if (!visible.length) return;
      const at = visible.indexOf(chosen);
      const next = at < 0 ? (by > 0 ? 0 : visible.length - 1) : Math.max(0, Math.min(visible.length - 1, at + by));
      choose(visible[next]);
    };
    const search = el('input', { class: 'selection-search', type: 'search', placeholder: '输入代码或名称筛选', 'aria-label': '筛选' });
    const none = el('p', { class: 'dialog-text selection-none', hidden: true }, '没有符合条件的记录');
    search.addEventListener('input', () => {
      const q = search.value.trim().toLowerCase();
      rows.forEach((tr, i) => { tr.hidden = q !== '' && !texts[i].includes(q); });
      const visible = shown();
      none.hidden = visible.length > 0;
      choose(q === '' ? 0 : (visible[0] || 0));
    });
    const table = el('table', { class: 'selection-table', tabindex: 0 },
      el('thead', {}, el('tr', {}, (d.headings || []).map((h) => el('th', {}, h)))),
      el('tbody', {}, rows));
    const ok = el('button', { type: 'button', class: 'primary', onclick: () => close(chosen) }, '确定');
    const cancel = el('button', { type: 'button', onclick: () => close(0) }, '取消');
    return {
      body: el('div', { class: 'dialog-body column' },
        d.message ? el('p', { class: 'dialog-text' }, d.message) : null,
        rows.length ? search : null,
        rows.length ? el('div', { class: 'selection-wrap' }, table) : el('p', { class: 'dialog-text' }, '没有可选的记录'),
        none),
      buttons: [ok, cancel],
      escape: 0,
      focus: rows.length ? search : cancel,
      onKey: (e) => {
        if (e.target !== table && e.target !== search) return false;
        if (e.key === 'ArrowDown') { step(1); return true; }
        if (e.key === 'ArrowUp') { step(-1); return true; }
        if (e.key === 'Enter') { close(chosen); return true; }
        return false;
      },
    };
  });
}

function dateInput(value) {
  const input = el('input', { maxlength: 10, placeholder: 'yyyy/mm/dd', inputmode: 'numeric', value: value || '' });
  input.addEventListener('input', () => { input.value = maskDate(input.value); });
  return input;
}

function daterange(d) {
  return frame('daterange', d.title, (close) => {
    const first = dateInput(d.first);
    const last = dateInput(d.last);
    const note = el('p', { class: 'signin-error', role: 'alert' });
    const accept = () => {
      if (!parseDate(first.value) || !parseDate(last.value)) {
        note.textContent = '日期输入错误，须为 yyyy/mm/dd';
        return;
      }
      if (first.value > last.value) {
        note.textContent = '起始日期不能晚于终止日期';
        return;
      }
      close(`${first.value}@${last.value}`);
    };
    return {
      body: el('div', { class: 'dialog-body column' },
        el('div', { class: 'date-row' }, el('label', {}, '起始日期 ', first), el('label', {}, '终止日期 ', last)), note),
      buttons: [el('button', { type: 'button', class: 'primary', onclick: accept }, '确定'),
        el('button', { type: 'button', onclick: () => close(null) }, '取消')],
      escape: null,
      focus: first,
      onKey: (e) => {
        if (e.key === 'Enter' && e.target.tagName === 'INPUT') { accept(); return true; }
        return false;
      },
    };
  });
}

// Zoom steps of the preview, in percent.
const ZOOMS = [50, 75, 100, 125, 150, 200];

function preview(d) {
  return frame('preview', d.title || '打印预览', (close) => {
    const pages = el('div', { class: 'preview-pages' });
    setRendered(pages, d.html || '');
    const status = el('span', { class: 'preview-status', role: 'status' });
    // Zoom and page navigation over the pages as they print.
    const sheets = () => [...pages.querySelectorAll('.kq-page')];
    let zoom = 100;
    let current = 0;
    const zoomText = el('span', { class: 'preview-zoom' });
    const pageText = el('span', { class: 'preview-page', 'aria-live': 'polite' });
    const show = (index, scroll = true) => {
      const all = sheets();
      current = Math.min(Math.max(index, 0), Math.max(all.length - 1, 0));
      pageText.textContent = `第 ${all.length ? current + 1 : 0} / ${all.length} 页`;
      if (scroll && all[current]) all[current].scrollIntoView({ block: 'start' });
    };
    const setZoom = (z) => {
      zoom = z;
      pages.style.zoom = String(z / 100);
      zoomText.textContent = `${z}%`;
      show(current);
    };
    const step = (dir) => {
      const i = ZOOMS.indexOf(zoom) + dir;
      if (i >= 0 && i < ZOOMS.length) setZoom(ZOOMS[i]);
    };
    const tools = el('div', { class: 'preview-tools' },
      el('button', { type: 'button', title: '第一页', onclick: () => show(0) }, '首页'),
      el('button', { type: 'button', title: '上一页', onclick: () => show(current - 1) }, '上一页'),
      pageText,
      el('button', { type: 'button', title: '下一页', onclick: () => show(current + 1) }, '下一页'),
      el('button', { type: 'button', title: '最后一页', onclick: () => show(sheets().length - 1) }, '末页'),
      el('button', { type: 'button', title: '缩小', onclick: () => step(-1) }, '缩小'),
      zoomText,
      el('button', { type: 'button', title: '放大', onclick: () => step(1) }, '放大'));
    setZoom(100);
    show(0, false);
    // A browser that shows PDF documents shows the printout's own pages (the
    // PDF as it prints, with the browser's zoom and pages); the drawn pages
    // stay underneath, hidden, as the text of the preview.
    const body = el('div', { class: 'dialog-body' }, tools, pages);
    let pdfUrl = null;
    const closeAndFree = (answer) => {
      if (pdfUrl) URL.revokeObjectURL(pdfUrl);
      close(answer);
    };
    if (navigator.pdfViewerEnabled && d.pdf && !(d.copies > 0)) {
      request('GET', d.pdf).then((blob) => {
        const url = URL.createObjectURL(blob);
        pdfUrl = url;
        const frameView = el('iframe', { class: 'preview-pdf', title: d.title || '打印预览', src: url });
        tools.hidden = true;
        pages.hidden = true;
        body.append(frameView);
        body.dataset.pdf = 'shown';
      }).catch(() => { /* the drawn pages remain */ });
    }
    // 打印: on the printer the server named for the preview (no dialog);
    // without one the PDF shown (the browser's print of it), else the drawn pages.
    // The copies the printer prints (the browser's print dialog asks its own).
    const copies = d.print
      ? el('input', { type: 'number', class: 'preview-copies', min: '1', max: '9', step: '1', value: '1', title: '打印份数' })
      : null;
    const printOnPrinter = async () => {
      status.textContent = `正在送打印机 ${d.printer}…`;
      try {
        const job = await request('POST', d.print, { copies: Number(copies.value) });
        status.textContent = `已送打印机 ${job.printer}（任务 ${job.job}）`;
      } catch (e) {
        status.textContent = '';
        await alertBox(e.message);
      }
    };
    const printShown = () => {
      if (d.print) { printOnPrinter(); return; }
      const shown = body.querySelector('iframe.preview-pdf');
      try {
        if (shown && shown.contentWindow) {
          shown.contentWindow.print();
          return;
        }
      } catch { /* printed from the drawn pages below */ }
      printPages(d.html || '');
    };
    const pdf = async () => {
      status.textContent = '';
      try {
        await download(d.pdf, `${d.dataobject || 'preview'}.pdf`);
      } catch (e) {
        status.textContent = e.message;
      }
    };
    // A printout asked for at once: printed in its copies, then closed.
    if (d.copies > 0) {
      status.textContent = `正在打印 ${d.copies} 份…`;
      setTimeout(() => {
        printPages(d.html || '', d.copies);
        close(1);
      }, 0);
    }
    return {
      body,
      buttons: [status,
        copies ? el('label', { class: 'preview-copies-label' }, '份数 ', copies) : null,
        el('button', { type: 'button', onclick: printShown }, '打印'),
        d.pdf ? el('button', { type: 'button', onclick: pdf }, '导出 PDF') : null,
        el('button', { type: 'button', class: 'primary', onclick: () => closeAndFree(1) }, '关闭')],
      escape: 1,
      onKey: (e) => {
        if (e.key === 'PageDown') { show(current + 1); return true; }
        if (e.key === 'PageUp') { show(current - 1); return true; }
        return false;
      },
    };
  }, 'preview');
}

// Shows a dialog of the server and resolves to its answer.
export function showServerDialog(d) {
  switch (d.kind) {
    case 'messagebox': return messagebox(d);
    case 'selection': return selection(d);
    case 'daterange': return daterange(d);
    case 'preview': return preview(d);
    default: return messagebox({ title: d.title || '提示信息', text: d.text || `未知的对话框: ${d.kind}`, buttons: ['确定'], default: 1 });
  }
}

// The workstation's own message (a refused request, a lost connection).
export function alertBox(text, title = '提示信息') {
  return messagebox({ title, text, icon: 'exclamation', buttons: ['确定'], default: 1 }).then(() => undefined);
}

// The calendar of a date field: resolves to "yyyy/mm/dd", or null when closed.
export function pickDate(initial, title = '选择日期') {
  return frame('calendar', title, (close) => {
    const start = parseDate(initial) || new Date();
    let year = start.getFullYear();
    let month = start.getMonth();
    const head = el('span');
    const grid = el('tbody');
    const draw = () => {
      head.textContent = `${year} 年 ${month + 1} 月`;
      while (grid.firstChild) grid.removeChild(grid.firstChild);
      const first = new Date(year, month, 1);
      let day = 1 - first.getDay();
      const days = new Date(year, month + 1, 0).getDate();
      for (let week = 0; week < 6 && day <= days; week++) {
        const tr = el('tr');
        for (let i = 0; i < 7; i++, day++) {
          if (day < 1 || day > days) { tr.append(el('td')); continue; }
          const text = formatDate(new Date(year, month, day));
          const cls = [text === formatDate(new Date()) ? 'today' : '', text === formatDate(start) ? 'picked' : ''].join(' ').trim();
          tr.append(el('td', {}, el('button', { type: 'button', class: cls, dataset: { date: text }, onclick: () => close(text) }, String(day))));
        }
        grid.append(tr);
      }
    };
    const move = (delta) => {
      month += delta;
      if (month < 0) { month = 11; year--; }
      if (month > 11) { month = 0; year++; }
      draw();
    };
    draw();
    return {
      body: el('div', { class: 'dialog-body column' },
        el('div', { class: 'calendar-head' },
          el('button', { type: 'button', onclick: () => move(-1), 'aria-label': '上月' }, '‹'), head,
          el('button', { type: 'button', onclick: () => move(1), 'aria-label': '下月' }, '›')),
        el('table', { class: 'calendar' },
          el('thead', {}, el('tr', {}, ['日', '一', '二', '三', '四', '五', '六'].map((w) => el('th', {}, w)))), grid)),
      buttons: [el('button', { type: 'button', onclick: () => close(null) }, '取消')],
      escape: null,
      focus: grid.querySelector('button.picked') || undefined,
    };
  });
}
