// The rows of a long grid that the browser holds, and which rows to ask the
// server for next.
//
// The server draws a grid only for a window of rows (docs/protocol.md, "Grid
// rows as drawn"). The view keeps every row it was sent in this cache, keyed
// by row number, and draws the rows in sight from it as the person scrolls,
// without waiting for an answer. Rows are asked for in aligned blocks of
// BLOCK rows: the blocks in sight first, then the blocks ahead in the
// direction of the scroll, as far as the scroll will travel while an answer
// is on its way (measured), so that a fast fling finds its rows drawn.
//
// A cache belongs to one state of the grid (its rows, their order, the
// current row): a new fragment from the server starts a new generation and
// answers asked for by an older one are dropped.

export const BLOCK = 200;
// At most this many requests for rows at a time.
const IN_FLIGHT = 3;
// The cache keeps at most this many rows; blocks far from the view go first.
const KEEP_ROWS = 6000;
// How long (ms) an answer is assumed to take until some have been measured.
const FIRST_LATENCY = 60;

export class GridRows {
  constructor() {
    this.rows = new Map();        // row number -> <tr class="kq-row">
    this.asked = new Set();       // blocks asked for in this generation
    this.generation = 0;
    this.inFlight = 0;
    this.latency = FIRST_LATENCY; // a running estimate of one answer's time (ms)
  }

  // Starts a new generation from a fragment's table: its drawn rows are the
  // cache's first rows.
  reset(table) {
    this.generation += 1;
    this.rows.clear();
    this.asked.clear();
    this.inFlight = 0;
    if (table) this.take(table);
  }

  // Keeps the drawn rows of a table (of this generation's grid).
  take(table) {
    for (const tr of table.querySelectorAll('tbody > tr.kq-row[data-row]')) this.rows.set(Number(tr.dataset.row), tr);
  }

  get(row) {
    return this.rows.get(row);
  }

  // Whether every row of [first, last] is held.
  holds(first, last) {
    for (let r = first; r <= last; r += 1) if (!this.rows.has(r)) return false;
    return true;
  }

  // The blocks to ask for now, nearest first, for a view showing rows
  // [first, last] of `count`, moving `direction` (-1, 0, 1) at `speed` rows
  // per millisecond.
  wanted(first, last, count, direction, speed) {
    if (count <= 0) return [];
    const blockOf = (row) => Math.floor((row - 1) / BLOCK);
    // Far enough ahead that the scroll does not overtake an answer: the
    // travel during a few answers' time, and one block at least.
    const travel = Math.ceil(speed * Math.max(this.latency, FIRST_LATENCY) * 4);
    const ahead = Math.max(BLOCK, travel);
    let from = first;
    let to = last;
    if (direction > 0) to = last + ahead;
    else if (direction < 0) from = first - ahead;
    else {
      from = first - BLOCK / 2;
      to = last + BLOCK / 2;
    }
    from = Math.max(1, from);
    to = Math.min(count, to);
    const blocks = [];
    const inSight = [];
    for (let b = blockOf(from); b <= blockOf(to); b += 1) {
      if (this.asked.has(b)) continue;
      const start = b * BLOCK + 1;
      if (this.holds(start, Math.min(count, start + BLOCK - 1))) continue;
      (b >= blockOf(first) && b <= blockOf(last) ? inSight : blocks).push(b);
    }
    if (direction < 0) blocks.reverse();
    return [...inSight, ...blocks];
  }

  // Asks for the blocks `wanted` names, within the limit of requests at a
  // time; `fetchBlock(first, count)` resolves to the server's answer.
  // `done()` runs after each answer that brought rows of this generation.
  request(blocks, count, fetchBlock, done) {
    for (const b of blocks) {
      if (this.inFlight >= IN_FLIGHT) return;
      const generation = this.generation;
      const first = b * BLOCK + 1;
      this.asked.add(b);
      this.inFlight += 1;
      const started = performance.now();
      fetchBlock(first, Math.min(BLOCK, count - first + 1))
        .then((answer) => {
          if (generation !== this.generation) return;
          this.latency = 0.7 * this.latency + 0.3 * (performance.now() - started);
          const t = document.createElement('template');
          t.innerHTML = answer.html ?? '';
          const table = t.content.querySelector('table.kq-grid');
          if (!table || Number(table.dataset.rows) !== count) return;
          this.take(table);
          done();
        })
        .catch(() => {
          // Asked again when the view next needs the block.
          if (generation === this.generation) this.asked.delete(b);
        })
        .finally(() => {
          if (generation === this.generation) this.inFlight -= 1;
        });
    }
  }

  // Drops the blocks farthest from rows [first, last] while the cache holds
  // more than it keeps.
  trim(first, last) {
    if (this.rows.size <= KEEP_ROWS) return;
    const middle = (first + last) / 2;
    const rows = [...this.rows.keys()].sort((a, b) => Math.abs(b - middle) - Math.abs(a - middle));
    for (const r of rows.slice(0, this.rows.size - KEEP_ROWS)) {
      this.rows.delete(r);
      this.asked.delete(Math.floor((r - 1) / BLOCK));
    }
  }
}
