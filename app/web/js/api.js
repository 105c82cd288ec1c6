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
    let data;
    try {
      data = await res.json();
    } catch (e) {
      throw new ApiError(res.status, failure(res.status));
    }
    if (!res.ok) {
      const message = data && data.error && typeof data.error.message === 'string' && data.error.message
        ? data.error.message : failure(res.status);
      if (res.status === 401 && path !== '/api/signin') unauthorized(message);
      throw new ApiError(res.status, message);
    }
    return data;
  }
  if (!res.ok) throw new ApiError(res.status, failure(res.status));
  return res.blob();
}

// What the person is told when the server's answer carries no message of
// its own (a proxy's error page, a cut connection).
function failure(status) {
  if (status === 401) return '会话无效或已过期，请重新登录';
  if (status >= 500) return `服务器暂时无法处理请求（${status}），请稍后再试`;
  if (status === 0 || status === 200) return '服务器的应答不完整，请重试';
  return `请求未被服务器接受（${status}）`;
}

export const get = (path) => request('GET', path);
export const post = (path, body = {}) => request('POST', path, body);
