// The session in the browser: the drawing, the host's status line and the
// settings dialog, driven through vekhost's JSON API. Every event goes to
// the server in order, one at a time; cursor motions are coalesced so that
// at most one is in flight and the latest position wins.
'use strict';

const $ = (id) => document.getElementById(id);
let state = null;
let svg = null;
let mirrorY = 0; // the SVG's data-top: frames' y coordinates are mirrored at it
let viewBox = null; // [x, y, width, height] once zoomed or panned
let drawingKey = '';
let journalSize = 0;
let events = Promise.resolve();
let motionWanted = null;
let motionBusy = false;
let ended = false;
let pointer = null; // over the drawing: where, in the window's pixels

async function request(method, path, body) {
  const options = { method, headers: {} };
  if (body !== undefined) {
    options.headers['Content-Type'] = 'application/json';
    options.body = JSON.stringify(body);
  }
  const response = await fetch(path, options);
  const text = await response.text();
  return { ok: response.ok, status: response.status, text };
}

// Plays one script line after those before it.
function play(line) {
  events = events.then(() => send(line)).catch((e) => showError(String(e)));
  return events;
}

async function send(line) {
  if (ended) return;
  const reply = await request('POST', '/api/event', { event: line });
  if (!reply.ok) {
    showError(reply.text.trim());
    if (reply.status === 410) showEnded();
    return;
  }
  await show(JSON.parse(reply.text));
}

function showError(text) {
  $('error').textContent = text;
}

function moveTo(x, y) {
  motionWanted = { x, y };
  if (motionBusy) return;
  motionBusy = true;
  (async () => {
    while (motionWanted) {
      const m = motionWanted;
      motionWanted = null;
      await play(`motion ${m.x} ${m.y}`);
    }
    motionBusy = false;
  })();
}

async function refresh() {
  const reply = await request('GET', '/api/state');
  if (reply.ok) await show(JSON.parse(reply.text));
}

async function show(next) {
  state = next;
  $('prompt').textContent = state.prompt;
  $('frame').textContent = state.frame === 'title' ? '표제프레임 (title)' : '도형프레임 (figure)';
  $('error').textContent = state.error;
  const notes = $('notes');
  notes.replaceChildren(...state.notes.map((n) => {
    const item = document.createElement('li');
    item.textContent = n.readable;
    item.title = n.new ? 'new' : `changed: ${n.name}`;
    return item;
  }));
  const key = JSON.stringify([state.notes, state.frame]);
  if (key !== drawingKey || !svg) {
    drawingKey = key;
    await loadDrawing();
  }
  markPickable();
  showPreview();
  showCursor();
  showDialog();
  if (state.ended) showEnded();
  if (!$('journal').hidden) await loadJournal();
}

async function loadDrawing() {
  const reply = await request('GET', '/api/drawing.svg');
  if (!reply.ok) return;
  const box = $('drawing');
  box.innerHTML = reply.text;
  svg = box.querySelector('svg');
  mirrorY = Number(svg.dataset.top);
  if (viewBox) svg.setAttribute('viewBox', viewBox.join(' '));
  else viewBox = svg.getAttribute('viewBox').split(/\s+/).map(Number);
  const preview = document.createElementNS('http://www.w3.org/2000/svg', 'text');
  preview.setAttribute('class', 'preview');
  preview.id = 'preview';
  svg.appendChild(preview);
}

function markPickable() {
  if (!svg) return;
  for (const element of svg.querySelectorAll('[data-name]'))
    element.classList.toggle('pickable', state.pickable.includes(element.dataset.name));
}

function showPreview() {
  const text = svg && svg.querySelector('#preview');
  if (!text) return;
  const p = state.preview;
  text.textContent = p ? p.readable : '';
  if (!p) return;
  const origin = state.frames[p.frame].origin;
  text.setAttribute('x', origin[0] + p.at[0]);
  text.setAttribute('y', mirrorY - (origin[1] + p.at[1]));
  text.setAttribute('font-size', p.height > 0 ? p.height : 3.5);
}

// The host's cursor text beside the mouse pointer, while it is over the drawing.
function showCursor() {
  const cursor = $('cursor');
  cursor.textContent = state.cursor;
  cursor.style.display = state.cursor && pointer ? 'block' : 'none';
  if (!pointer) return;
  cursor.style.left = `${pointer.x + 14}px`;
  cursor.style.top = `${pointer.y + 14}px`;
}

function showEnded() {
  ended = true;
  $('ended').hidden = false;
}

// The position under the pointer in the current frame's coordinates.
function framePoint(event) {
  const p = svg.createSVGPoint();
  p.x = event.clientX;
  p.y = event.clientY;
  const q = p.matrixTransform(svg.getScreenCTM().inverse());
  const origin = state.frames[state.frame].origin;
  const round = (v) => Math.round(v * 100) / 100;
  return { x: round(q.x - origin[0]), y: round(mirrorY - q.y - origin[1]) };
}

function namedTarget(event) {
  const element = event.target.closest && event.target.closest('[data-name]');
  return element ? element.dataset.name : '';
}

function setUpDrawing() {
  const box = $('drawing');
  let pan = null;
  box.addEventListener('mousemove', (event) => {
    pointer = { x: event.clientX, y: event.clientY };
    if (pan && svg) {
      const scale = viewBox[2] / box.clientWidth;
      viewBox[0] = pan.box[0] - (event.clientX - pan.x) * scale;
      viewBox[1] = pan.box[1] - (event.clientY - pan.y) * scale;
      svg.setAttribute('viewBox', viewBox.join(' '));
      return;
    }
    if (state) showCursor();
    for (const element of box.querySelectorAll('.hover')) element.classList.remove('hover');
    const named = event.target.closest && event.target.closest('[data-name].pickable');
    if (named) named.classList.add('hover');
    if (svg && state && state.running && !state.dialog) {
      const p = framePoint(event);
      moveTo(p.x, p.y);
    }
  });
  box.addEventListener('mouseleave', () => {
    pointer = null;
    $('cursor').style.display = 'none';
  });
  box.addEventListener('mousedown', (event) => {
    if (event.button !== 1 || !svg) return;
    event.preventDefault();
    pan = { x: event.clientX, y: event.clientY, box: viewBox.slice() };
  });
  window.addEventListener('mouseup', (event) => { if (event.button === 1) pan = null; });
  box.addEventListener('click', (event) => {
    if (!svg || !state || state.dialog) return;
    const p = framePoint(event);
    const name = namedTarget(event);
    if (!event.shiftKey && name && state.pickable.includes(name)) play(`pick ${name} ${p.x} ${p.y}`);
    else play(`point ${p.x} ${p.y}` + (name ? ` on ${name}` : ''));
  });
  box.addEventListener('contextmenu', (event) => {
    event.preventDefault();
    if (state && !state.dialog) play('end');
  });
  box.addEventListener('wheel', (event) => {
    if (!svg) return;
    event.preventDefault();
    const factor = event.deltaY < 0 ? 0.8 : 1.25;
    const p = svg.createSVGPoint();
    p.x = event.clientX;
    p.y = event.clientY;
    const q = p.matrixTransform(svg.getScreenCTM().inverse());
    viewBox = [q.x - (q.x - viewBox[0]) * factor, q.y - (q.y - viewBox[1]) * factor,
               viewBox[2] * factor, viewBox[3] * factor];
    svg.setAttribute('viewBox', viewBox.join(' '));
  }, { passive: false });
}

// Windows' dialog base units for the template's font at 96 dpi: the average
// width of the 52 letters, rounded as GdiGetCharDimensions rounds it, and
// the font's height.
function baseUnits(font) {
  const context = document.createElement('canvas').getContext('2d');
  const pixels = Math.round((font.points || 8) * 96 / 72);
  const family = `"${font.name}", "Malgun Gothic", Gulim, Dotum, "Nanum Gothic", NanumGothic, sans-serif`;
  context.font = `${pixels}px ${family}`;
  const letters = context.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
  const height = context.measureText('Mg');
  return {
    x: Math.floor((Math.round(letters.width) / 26 + 1) / 2),
    y: Math.ceil(height.fontBoundingBoxAscent + height.fontBoundingBoxDescent),
    font: `${pixels}px ${family}`,
  };
}

let dialogShown = false;

function showDialog() {
  const open = Boolean(state.dialog);
  $('dialog-backdrop').hidden = !open;
  if (!open) {
    dialogShown = false;
    return;
  }
  if (dialogShown) return;
  dialogShown = true;
  const dialog = state.dialog;
  const units = baseUnits(dialog.font);
  const px = (value, base, divisor) => Math.round(value * base / divisor);
  const client = $('dialog-client');
  client.style.font = units.font;
  client.style.width = `${px(dialog.size[0], units.x, 4)}px`;
  client.style.height = `${px(dialog.size[1], units.y, 8)}px`;
  $('dialog-caption').textContent = dialog.caption;
  client.replaceChildren(...dialog.controls.map((c) => control(c, units, px)));
  const first = client.querySelector('select, input, button');
  if (first) first.focus();
}

function control(c, units, px) {
  let element;
  const type = c.style & 0xf;
  if (c.kind === 'static') {
    element = document.createElement('div');
    element.className = 'static';
    element.textContent = c.text;
  } else if (c.kind === 'edit') {
    element = document.createElement('input');
    element.type = 'text';
    element.value = c.text;
    element.dataset.original = c.text;
  } else if (c.kind === 'combo') {
    element = document.createElement('select');
    for (const item of c.items) element.add(new Option(item));
    element.selectedIndex = c.selected;
    element.addEventListener('change', () => play(`dialog select ${c.name} ${element.selectedIndex}`));
  } else if (c.kind === 'button' && type === 7) {
    element = document.createElement('div');
    element.className = 'group';
  } else if (c.kind === 'button' && (type === 9 || type === 4)) {
    element = document.createElement('label');
    const radio = document.createElement('input');
    radio.type = 'radio';
    radio.name = 'radio-group';
    radio.checked = c.checked;
    radio.addEventListener('change', () => play(`dialog click ${c.name}`));
    element.append(radio, c.text);
  } else {
    element = document.createElement('button');
    element.textContent = c.text;
    element.addEventListener('click', () => pressButton(c));
  }
  if (c.name) element.dataset.name = c.name;
  const height = c.kind === 'combo' ? Math.min(c.rect[3], 12) : c.rect[3];
  Object.assign(element.style, {
    left: `${px(c.rect[0], units.x, 4)}px`, top: `${px(c.rect[1], units.y, 8)}px`,
    width: `${px(c.rect[2], units.x, 4)}px`, height: `${px(height, units.y, 8)}px`,
  });
  return element;
}

// OK first hands over what was typed into the edit boxes, as a person's
// typing reaches the dialog before the click.
function pressButton(c) {
  if (c.id === 1) {
    for (const edit of $('dialog-client').querySelectorAll('input[type=text]'))
      if (edit.value !== edit.dataset.original) play(`dialog type ${edit.dataset.name} ${edit.value}`);
  }
  play(c.id === 1 ? 'dialog click ok' : c.id === 2 ? 'dialog click cancel' : `dialog click ${c.name}`);
}

async function loadJournal() {
  const reply = await request('GET', `/api/state?journal=${journalSize}`);
  if (!reply.ok) return;
  const journal = JSON.parse(reply.text).journal;
  const list = $('journal-entries');
  for (const entry of journal.entries) {
    const item = document.createElement('li');
    item.textContent = entry;
    list.appendChild(item);
  }
  journalSize = journal.size;
  $('journal').scrollTop = $('journal').scrollHeight;
}

function setUpControls() {
  $('keyin').addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || event.isComposing) return;
    play(`keyin ${event.target.value}`);
    event.target.value = '';
  });
  $('end').addEventListener('click', () => play('end'));
  $('start').addEventListener('click', () => play('start'));
  $('quit').addEventListener('click', async () => {
    const reply = await request('POST', '/api/quit');
    if (reply.ok) await show(JSON.parse(reply.text));
    showEnded();
  });
  $('journal-toggle').addEventListener('click', async (event) => {
    const panel = $('journal');
    panel.hidden = !panel.hidden;
    event.target.setAttribute('aria-expanded', String(!panel.hidden));
    if (!panel.hidden) await loadJournal();
  });
}

setUpDrawing();
setUpControls();
refresh();
// Other tabs may play the same session: look again now and then.
setInterval(() => { if (!motionBusy && !ended) events = events.then(refresh); }, 1500);
