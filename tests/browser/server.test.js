// The server without a browser: what it refuses, and how a session ends.
const { test, expect } = require('@playwright/test');
const fs = require('fs');
const http = require('http');
const path = require('path');
const { spawnSync } = require('child_process');
const { startSession } = require('./session');

function send(port, method, target, { headers = {}, body } = {}) {
  return new Promise((resolve, reject) => {
    const request = http.request({ host: '127.0.0.1', port, method, path: target, headers }, (response) => {
      let text = '';
      response.setEncoding('utf8');
      response.on('data', (chunk) => { text += chunk; });
      response.on('end', () => resolve({ status: response.statusCode, text }));
    });
    request.on('error', reject);
    if (body !== undefined) request.write(body);
    request.end();
  });
}

const event = (line) => JSON.stringify({ event: line });

let session;
test.beforeEach(async () => { session = await startSession(); });
test.afterEach(async () => { await session.stop(); });

test('a Host header that names another server is refused', async () => {
  const reply = await send(session.port, 'GET', '/api/state', { headers: { Host: `evil.example:${session.port}` } });
  expect(reply.status).toBe(403);
  expect(reply.text).toMatch(/^refused: the Host header/);
  expect((await send(session.port, 'GET', '/api/state', { headers: { Host: `localhost:${session.port}` } })).status).toBe(200);
});

test('a change from a foreign Origin is refused; the page\'s own and none are taken', async () => {
  const foreign = await send(session.port, 'POST', '/api/event',
                             { headers: { Origin: 'http://evil.example' }, body: event('pick width') });
  expect(foreign.status).toBe(403);
  const own = await send(session.port, 'POST', '/api/event',
                         { headers: { Origin: `http://127.0.0.1:${session.port}` }, body: event('pick width') });
  expect(own.status).toBe(200);
  expect(JSON.parse(own.text).prompt).toBe('세로치수선택 :');
  expect((await send(session.port, 'POST', '/api/event', { body: event('keyin 50') })).status).toBe(200);
});

test('bodies over 64 KiB, bodies that are no JSON and events that cannot be read get one line', async () => {
  const big = await send(session.port, 'POST', '/api/event', { body: event('x'.repeat(70 * 1024)) });
  expect(big.status).toBe(413);
  const broken = await send(session.port, 'POST', '/api/event', { body: '{"event": ' });
  expect(broken).toEqual({ status: 400, text: 'the body is no JSON\n' });
  const noEvent = await send(session.port, 'POST', '/api/event', { body: '{"line": "end"}' });
  expect(noEvent.status).toBe(400);
  const unknown = await send(session.port, 'POST', '/api/event', { body: event('pick nothing') });
  expect(unknown.status).toBe(400);
  expect(unknown.text).toBe('the drawing has no element "nothing"\n');
  const twoLines = await send(session.port, 'POST', '/api/event', { body: event('end\nend') });
  expect(twoLines.status).toBe(400);
});

test('nothing but the page and the API is served', async () => {
  expect((await send(session.port, 'GET', '/')).status).toBe(200);
  expect((await send(session.port, 'GET', '/page.js')).status).toBe(200);
  for (const target of ['/../../etc/passwd', '/index.htm', '/api/nothing', '/api'])
    expect((await send(session.port, 'GET', target)).status).toBe(404);
  expect((await send(session.port, 'DELETE', '/api/state')).status).toBe(405);
  expect((await send(session.port, 'GET', '/api/event')).status).toBe(405);
  const part = await send(session.port, 'GET', '/api/drawing?part=0');
  expect(JSON.parse(part.text).items[0][1]).toBe('width');
});

test('while the dialog is open only dialog actions are taken', async () => {
  const opened = JSON.parse((await send(session.port, 'POST', '/api/event', { body: event('end') })).text);
  expect(opened.dialog.caption).toBe('가로x세로x높이');
  expect(opened.dialog.size).toEqual([392, 227]);
  expect(opened.dialog.controls).toHaveLength(31);
  const refused = await send(session.port, 'POST', '/api/event', { body: event('pick width') });
  expect(refused.status).toBe(409);
  const typed = await send(session.port, 'POST', '/api/event', { body: event('dialog type connector *') });
  expect(typed.status).toBe(200);
  const closed = JSON.parse((await send(session.port, 'POST', '/api/event', { body: event('dialog click ok') })).text);
  expect(closed.dialog).toBeNull();
  expect((await send(session.port, 'POST', '/api/event', { body: event('dialog click ok') })).status).toBe(409);
});

test('after Quit events get 410, the state stays readable and the results are written', async () => {
  await send(session.port, 'POST', '/api/event', { body: event('pick width') });
  const quit = await send(session.port, 'POST', '/api/quit');
  expect(quit.status).toBe(200);
  expect(JSON.parse(quit.text).ended).toBe(true);
  expect((await send(session.port, 'POST', '/api/event', { body: event('end') })).status).toBe(410);
  expect(JSON.parse((await send(session.port, 'GET', '/api/state')).text).ended).toBe(true);
  expect(fs.existsSync(path.join(session.folder, 'result.json'))).toBe(true);
  expect(fs.existsSync(path.join(session.folder, 'result.svg'))).toBe(true);
});

test('Ctrl-C ends the session and writes its results', async () => {
  expect(await session.stop()).toBe(0);
  expect(session.output()).toContain('drawing: ');
  expect(fs.existsSync(path.join(session.folder, 'result.json'))).toBe(true);
});

test('a port given with --port that is taken is one clear error', () => {
  const other = spawnSync(process.env.VEKHOST, ['--serve', '--port', String(session.port),
                                                path.join(__dirname, '../../examples/box.json')],
                          { encoding: 'utf8', cwd: session.folder });
  expect(other.status).toBe(2);
  expect(other.stderr.trim()).toBe(`vekhost: --port ${session.port}: the port is taken on 127.0.0.1`);
});

test('without --port a taken port gives way to the next free one', async () => {
  const first = await startSession({ defaultPort: true });
  const second = await startSession({ defaultPort: true });
  try {
    expect(first.port).toBeGreaterThanOrEqual(8750);
    expect(second.port).toBeGreaterThan(first.port);
  } finally {
    await first.stop();
    await second.stop();
  }
});
