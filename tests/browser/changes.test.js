// The page's copy of the session, without a browser: the change sets that
// vekhost answers, applied by the page's own functions, give the state a
// fresh read gives; two tabs on one session stay in step; the grid finds
// what a walk over every item finds.
const { test, expect } = require('@playwright/test');
const { applyChanges, pickable } = require('../../vekhost/page/state.js');
const { Grid, segmentDistance } = require('../../vekhost/page/grid.js');
const { startSession } = require('./session');

let session;
test.beforeEach(async () => { session = await startSession({ drawing: 'note-update.json' }); });
test.afterEach(async () => { await session.stop(); });

async function api(method, target, body) {
  const response = await fetch(`http://127.0.0.1:${session.port}${target}`, {
    method, headers: body ? { 'Content-Type': 'application/json' } : {}, body: body && JSON.stringify(body),
  });
  expect(response.status).toBe(200);
  return response.json();
}

// What a change set keeps up to date: all but the frames, the drawing's
// size and the journal, which a fresh state brings.
function comparable(state) {
  const { journal, frames, drawing, ...rest } = state;
  return rest;
}

test('change sets applied to the copy give the state a fresh read gives', async () => {
  let tab = await api('GET', '/api/state');
  let other = tab; // a second tab that only looks now and then
  const events = ['pick width', 'pick length', 'motion 20 10', 'keyin 12', 'motion 40 12', 'point 40 12',
    'start', 'pick width', 'pick length', 'keyin 7', 'pick size-field', 'start', 'end', 'dialog select round 1',
    'dialog click ok', 'pick width', 'keyin 5', 'keyin 3', 'end', 'end', 'point 10 10'];
  for (const [i, line] of events.entries()) {
    const changes = await api('POST', '/api/event', { event: line, since: tab.version });
    tab = applyChanges(tab, changes);
    expect(tab, `after ${line}`).not.toBeNull();
    expect(comparable(tab), `after ${line}`).toEqual(comparable(await api('GET', '/api/state')));
    if (i % 4 === 3) {
      other = applyChanges(other, await api('GET', `/api/changes?since=${other.version}`));
      expect(comparable(other), `the other tab after ${line}`).toEqual(comparable(tab));
    }
  }
  expect(tab.notes.map((note) => note.readable)).toEqual(['250X120X7', '250X120X12', '250.0X5.0X3.0']);
});

test('a change set for another version than the copy\'s asks for a fresh read', async () => {
  const state = await api('GET', '/api/state');
  const changes = await api('POST', '/api/event', { event: 'pick width' });
  expect(applyChanges({ ...state, version: state.version + 1 }, changes)).toBeNull();
  expect(applyChanges(state, { ...changes, resync: true })).toBeNull();
  expect(applyChanges(null, changes)).toBeNull();
  const ahead = await api('GET', `/api/changes?since=${state.version + 5}`);
  expect(ahead.resync).toBe(true);
});

test('the rule tells which items a pick reaches', () => {
  const rule = { dimensions: [12, 13], notes: [33], elements: [] };
  expect(pickable(rule, { list: 'd', kind: 13 })).toBe(true);
  expect(pickable(rule, { list: 'd', kind: 14 })).toBe(false);
  expect(pickable(rule, { list: 'n', kind: 33 })).toBe(true);
  expect(pickable(rule, { list: 'n', kind: 32 })).toBe(false);
  expect(pickable(rule, { list: 'e', kind: 12 })).toBe(false);
  expect(pickable(null, { list: 'd', kind: 12 })).toBe(false);
});

test('the grid finds every item whose box meets the query, each once', () => {
  let seed = 7;
  const random = () => ((seed = (seed * 16807) % 2147483647) / 2147483647);
  const extent = [-10, -10, 1000, 700];
  const grid = new Grid(extent, 5000);
  const boxes = [];
  for (let i = 0; i < 5000; ++i) {
    const x = extent[0] + random() * 1100 - 40, y = extent[1] + random() * 760 - 30; // some beyond the edge
    const box = [x, y, x + random() * 80, y + random() * 80];
    boxes.push(box);
    grid.add(i, box);
  }
  const seen = new Int32Array(boxes.length);
  for (let stamp = 1; stamp <= 200; ++stamp) {
    const x = random() * 1000, y = random() * 700, r = random() * 50;
    const query = [x - r, y - r, x + r, y + r];
    const found = [];
    grid.query(query, seen, stamp, (i) => found.push(i));
    const meets = (b) => b[0] <= query[2] && b[2] >= query[0] && b[1] <= query[3] && b[3] >= query[1];
    const expected = boxes.flatMap((b, i) => (meets(b) ? [i] : []));
    const once = new Set(found);
    expect(once.size).toBe(found.length);
    expect(expected.filter((i) => !once.has(i))).toEqual([]); // none missed
  }
});

test('a point\'s distance to a segment', () => {
  expect(segmentDistance(5, 3, 0, 0, 10, 0)).toBe(3);
  expect(segmentDistance(-4, 3, 0, 0, 10, 0)).toBe(5); // beyond its end
  expect(segmentDistance(1, 1, 2, 2, 2, 2)).toBeCloseTo(Math.SQRT2); // a point
});
