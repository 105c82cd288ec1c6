// One interaction at a time, as on the session's UI thread: an event (or an
// opened window) is sent, and its answer is followed to the end — dialogs
// shown and answered, the progress indicator shown while the server is
// busy, changed windows drawn.
import { ApiError, post } from './api.js';
import { alertBox, showServerDialog } from './dialogs.js';
import { hideProgress, showProgress } from './progress.js';

let applyChanges = () => {};
let reloadWindows = async () => {};
let queue = Promise.resolve();
let running = 0;
const listeners = new Set();

// `apply(answer)` draws the changed windows of an answer; `reload()` fetches
// every window again (after an error left the page unsure of them).
export function configure({ apply, reload }) {
  applyChanges = apply;
  reloadWindows = reload;
}

// Called with true when an interaction starts and false when the last ends.
export function onBusyChange(listener) {
  listeners.add(listener);
}

export function busy() {
  return running > 0;
}

// Counts the interactions queued or running; the listeners hear when the
// page becomes busy and when the last queued interaction has ended, never
// in the gap between one interaction and the next queued after it.
function setRunning(delta) {
  const was = running > 0;
  running += delta;
  if (was !== running > 0) for (const l of listeners) l(running > 0);
}

// Follows an answer of the server until the event is finished.
export async function follow(answer) {
  for (;;) {
    applyChanges(answer);
    if (answer.dialog) {
      hideProgress();
      const reply = await showServerDialog(answer.dialog);
      answer = await post('/api/dialog', { dialog: answer.dialog.id, answer: reply });
      continue;
    }
    if (answer.busy) {
      showProgress(answer.progress);
      answer = await post('/api/wait');
      continue;
    }
    hideProgress();
    return answer;
  }
}

// Runs `start` (a function returning the first answer) after every earlier
// interaction; errors are shown to the person. The page is busy from the
// moment the interaction is queued until it has ended.
export function interact(start) {
  setRunning(1);
  const run = async () => {
    try {
      await follow(await start());
    } catch (e) {
      hideProgress();
      if (e instanceof ApiError && e.status === 401) return;
      await alertBox(e.message || String(e));
      if (!(e instanceof ApiError) || e.status >= 500 || e.status === 0) await reloadWindows().catch(() => {});
    } finally {
      setRunning(-1);
    }
  };
  queue = queue.then(run, run);
  return queue;
}

// Fires one event of the protocol.
export function fire(event) {
  return interact(() => post('/api/events', event));
}
