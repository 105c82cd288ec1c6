// The plain controls of a window (everything but data windows): each view
// draws a control's state and turns what the person does into events.
//
// Typed text is kept in the field until an event carries it: Enter in an edit
// sends ue_key with the text; any other event of the window first sends a
// "modified" event for every edit whose text the person changed.
import { caption, el } from './dom.js';
import { maskDate } from './dates.js';
import { pickDate } from './dialogs.js';

class ControlView {
  constructor(state, win) {
    this.win = win;
    this.name = state.name;
    this.kind = state.kind;
    this.el = el('div', { class: `ctl ctl-${state.kind}`, dataset: { control: state.name } });
  }
  update(state) {
    this.state = state;
    this.el.hidden = !state.visible;
  }
  // The typed text not yet sent, or null.
  pendingText() {
    return null;
  }
  sent() {}
}

class StaticText extends ControlView {
  update(state) {
    super.update(state);
    this.el.textContent = caption(state.text).text;
  }
}

class GroupBox extends ControlView {
  update(state) {
    super.update(state);
    this.el.replaceChildren(el('span', {}, caption(state.text).text));
  }
}

class Button extends ControlView {
  constructor(state, win) {
    super(state, win);
    this.button = el('button', { type: 'button', onclick: () => this.win.send({ control: this.name, event: 'clicked' }) });
    this.el.append(this.button);
  }
  update(state) {
    super.update(state);
    const c = caption(state.text);
    this.button.textContent = c.text;
    if (c.key) this.button.accessKey = c.key;
    this.button.disabled = !state.enabled;
  }
}

class Check extends ControlView {
  constructor(state, win) {
    super(state, win);
    this.input = el('input', { type: state.kind === 'radiobutton' ? 'radio' : 'checkbox' });
    this.text = el('span');
    this.input.addEventListener('click', (e) => {
      e.preventDefault();  // the server's answer sets the state
      const checked = this.kind === 'radiobutton' ? true : !this.state.checked;
      this.win.send({ control: this.name, event: 'clicked', checked });
    });
    this.el.append(el('label', {}, this.input, this.text));
  }
  update(state) {
    super.update(state);
    this.input.checked = !!state.checked;
    this.input.disabled = !state.enabled;
    this.text.textContent = caption(state.text).text;
  }
}

class Edit extends ControlView {
  constructor(state, win) {
    super(state, win);
    const multi = state.kind === 'multilineedit';
    this.input = multi ? el('textarea') : el('input', { type: 'text' });
    this.serverText = null;
    this.input.addEventListener('input', () => {
      if (this.state.mask === 'yyyy/mm/dd') this.input.value = maskDate(this.input.value);
    });
    if (!multi) {
      this.input.addEventListener('keydown', (e) => {
        if (e.key !== 'Enter' || e.isComposing) return;
        e.preventDefault();
        this.win.send({ control: this.name, event: 'ue_key', key: 13, text: this.input.value });
      });
    }
    this.input.addEventListener('dblclick', async () => {
      if (this.state.calendar === undefined || !this.state.enabled) return;
      const date = await pickDate(this.input.value || this.state.calendar);
      if (date === null) return;
      this.input.value = date;
      this.win.send({ control: this.name, event: 'ue_after_double', text: date });
    });
    this.el.append(this.input);
  }
  update(state) {
    super.update(state);
    // A spin edit: the numbers from min to max, stepped with the arrows
    // (the server refuses a typed number outside them).
    if (state.spin && this.input.type !== 'number') {
      this.input.type = 'number';
      this.input.inputMode = 'numeric';
    }
    if (state.spin) {
      this.input.min = String(state.spin.min);
      this.input.max = String(state.spin.max);
      this.input.step = String(state.spin.increment || 1);
    }
    if (state.mask === 'yyyy/mm/dd') {
      this.input.maxLength = 10;
      this.input.placeholder = 'yyyy/mm/dd';
      this.input.inputMode = 'numeric';
    }
    if (state.text !== this.serverText) {
      this.input.value = state.text ?? '';
      this.serverText = state.text ?? '';
    }
    // The server refuses longer text and typing into a display-only field.
    if (state.limit > 0) this.input.maxLength = state.limit;
    else if (state.mask !== 'yyyy/mm/dd') this.input.removeAttribute('maxlength');
    this.input.readOnly = !!state.readonly;
    this.input.disabled = !state.enabled;
    this.input.title = state.calendar !== undefined && state.enabled ? '双击选择日期' : '';
  }
  pendingText() {
    return this.state.enabled && this.state.visible && !this.state.readonly && this.input.value !== this.serverText
      ? this.input.value
      : null;
  }
  sent(text) {
    this.serverText = text;
  }
  focus() {
    this.input.focus();
  }
}

const KINDS = {
  statictext: StaticText,
  groupbox: GroupBox,
  commandbutton: Button,
  picturebutton: Button,
  checkbox: Check,
  radiobutton: Check,
  editmask: Edit,
  singlelineedit: Edit,
  multilineedit: Edit,
};

// The view of a plain control, or null for a kind this module does not draw.
export function makeControl(state, win) {
  const Kind = KINDS[state.kind];
  return Kind ? new Kind(state, win) : null;
}
