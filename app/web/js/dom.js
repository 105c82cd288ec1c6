// Building the page. Data from the server is only ever set as text
// (textContent, attribute values); markup comes solely from the data window
// renderer, whose fragments escape every text (setRendered).

// An element with attributes (a value of false or null leaves it out; "on…"
// functions become listeners) and children (strings become text nodes).
export function el(tag, attrs = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attrs)) {
    if (value === false || value === null || value === undefined) continue;
    if (name.startsWith('on') && typeof value === 'function') {
      node.addEventListener(name.slice(2), value);
    } else if (name === 'dataset') {
      for (const [k, v] of Object.entries(value)) node.dataset[k] = String(v);
    } else if (value === true) {
      node.setAttribute(name, '');
    } else {
      node.setAttribute(name, String(value));
    }
  }
  append(node, children);
  return node;
}

function append(node, children) {
  for (const child of children) {
    if (child === null || child === undefined || child === false) continue;
    if (Array.isArray(child)) append(node, child);
    else node.append(child instanceof Node ? child : document.createTextNode(String(child)));
  }
}

// Places a fragment of the data window renderer (HTML whose texts it has
// escaped) into `node`. Nothing else is ever inserted as markup.
export function setRendered(node, html) {
  node.innerHTML = html;
}

export function clear(node) {
  while (node.firstChild) node.removeChild(node.firstChild);
}

// A caption with "&X" accelerator marks: the text without "&" and the key.
export function caption(text) {
  const s = String(text ?? '');
  const at = s.search(/&[^&]/);
  const plain = s.replace(/&(.)/g, '$1');
  return { text: plain, key: at >= 0 ? s[at + 1].toLowerCase() : null };
}
