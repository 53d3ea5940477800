// The server's API: every call carries the page's token (read from the
// address once, left there so that a reload works) and answers its JSON.

import {t} from './texts.js';

const token = new URLSearchParams(location.search).get('token') || '';

// An error reply: the server's own message, its status and its fields.
export class ApiError extends Error {
  constructor(message, status, data) {
    super(message);
    this.status = status;
    this.data = data || {};
  }
}

// The reply of `method` on `/api/<path>` with `body` sent as JSON; throws
// ApiError with the server's message on an error status.
export async function call(method, path, body) {
  const init = {method, headers: {'X-Polimreza-Token': token}};
  if (body !== undefined) {
    init.headers['Content-Type'] = 'application/json';
    init.body = JSON.stringify(body);
  }
  let reply;
  try {
    reply = await fetch('/api/' + path, init);
  } catch (e) {
    throw new ApiError(t('noServer'), 0, null);
  }
  let data = null;
  try { data = await reply.json(); } catch (e) { data = null; }
  if (!reply.ok) {
    const message = data && typeof data.error === 'string' ? data.error
      : t('serverError', reply.status);
    throw new ApiError(message, reply.status, data);
  }
  return data || {};
}

export const get = (path) => call('GET', path);
export const post = (path, body) => call('POST', path, body || {});
