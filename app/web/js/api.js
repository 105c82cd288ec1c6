// The workstation protocol over fetch (docs/protocol.md). The session token
// lives in sessionStorage: one tab, one signed-in workstation.

const TOKEN_KEY = 'kq.workstation.token';

export class ApiError extends Error {
  constructor(status, message) {
    super(message);
    this.status = status;
  }
}

let unauthorized = () => {};
// Called (with the message) when the server says the session is gone.
export function onUnauthorized(handler) {
  unauthorized = handler;
}

export function token() {
  return sessionStorage.getItem(TOKEN_KEY);
}
export function setToken(value) {
  if (value) sessionStorage.setItem(TOKEN_KEY, value);
  else sessionStorage.removeItem(TOKEN_KEY);
}

// Sends one request; resolves to the JSON answer (or a Blob for other
// types), rejects with an ApiError carrying the server's message.
export async function request(method, path, body) {
  const headers = { Accept: 'application/json' };
  if (body !== undefined) headers['Content-Type'] = 'application/json';
  const t = token();
  if (t) headers.Authorization = `Bearer ${t}`;
  let res;
  try {
    res = await fetch(path, { method, headers, body: body === undefined ? undefined : JSON.stringify(body) });
  } catch (e) {
    throw new ApiError(0, '无法连接工作站服务器');
  }
  const type = res.headers.get('Content-Type') || '';
  if (type.startsWith('application/json')) {
    const data = await res.json();
    if (!res.ok) {
      const message = data && data.error && data.error.message ? data.error.message : `HTTP ${res.status}`;
      if (res.status === 401 && path !== '/api/signin') unauthorized(message);
      throw new ApiError(res.status, message);
    }
    return data;
  }
  if (!res.ok) throw new ApiError(res.status, `HTTP ${res.status}`);
  return res.blob();
}

export const get = (path) => request('GET', path);
export const post = (path, body = {}) => request('POST', path, body);
