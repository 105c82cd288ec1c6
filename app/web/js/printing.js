// Printing a preview and downloading PDF documents.
import { setRendered } from './dom.js';
import { request } from './api.js';

// Prints the preview's pages (the renderer's fragment) and nothing else,
// `copies` times over (1 to 9).
export function printPages(html, copies = 1) {
  const area = document.getElementById('print-area');
  const n = Math.min(Math.max(Number(copies) || 1, 1), 9);
  setRendered(area, Array.from({ length: n }, () => html).join(''));
  document.body.classList.add('printing');
  const done = () => {
    document.body.classList.remove('printing');
    area.textContent = '';
    window.removeEventListener('afterprint', done);
  };
  window.addEventListener('afterprint', done);
  window.print();
}

// Fetches a PDF of the server (with the session's token) and saves it.
export async function download(path, filename) {
  const blob = await request('GET', path);
  const url = URL.createObjectURL(blob);
  const a = document.createElement('a');
  a.href = url;
  a.download = filename;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}
