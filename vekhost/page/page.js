// The session in the browser: the drawing, the host's status line and the
// settings dialog, driven through vekhost's JSON API. The page reads the
// whole state once and the drawing in parts, then keeps its copy up to date
// from the changes that each answer carries. Every event goes to the server
// in order, one at a time; cursor motions are coalesced so that at most one
// is in flight and the latest position wins, and are sent only while the
// step takes them.
'use strict';

const $ = (id) => document.getElementById(id);
const sheet = new Sheet($('sheet'), $('overlay'));
let state = null;
let journalSize = 0;
let events = Promise.resolve();
let motionWanted = null;
let motionBusy = false;
let ended = false;
let pointer = null; // over the drawing: where, in the window's pixels
let highlightStart = null; // the pointer move whose highlight is being drawn
let language = startLanguage(localStorage.getItem('vekhost-language'), navigator.language);
const text = (key) => TEXTS[language][key];

async function request(method, path, body) {
  const options = { method, headers: {} };
  if (body !== undefined) {
    options.headers['Content-Type'] = 'application/json';
    options.body = JSON.stringify(body);
  }
  const response = await fetch(path, options);
  const text = await response.text();
  return { ok: response.ok, status: response.status, text, code: response.headers.get('Vekhost-Refusal') };
}

// Plays one script line after those before it.
function play(line) {
  events = events.then(() => send(line)).catch((e) => showError(String(e)));
  return events;
}

async function send(line) {
  if (ended) return;
  const reply = await request('POST', '/api/event', { event: line, since: state.version });
  if (!reply.ok) {
    showRefusal(reply);
    if (reply.status === 410) showEnded();
    return;
  }
  await take(JSON.parse(reply.text));
}

// Brings the copy up to date from a change set, or reads the whole state.
async function take(changes) {
  const next = applyChanges(state, changes);
  if (next) show(next);
  else await refresh();
}

function showError(line) {
  $('error').textContent = line;
}

function showRefusal(reply) {
  showError(refusalText(language, reply.status, reply.code, reply.text.trim()));
}

// The page's own texts in its language.
function showTexts() {
  document.documentElement.lang = language;
  sheet.labels = { figure: text('figure-frame'), title: text('title-frame'), current: text('current-frame') };
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = text(element.dataset.text);
  for (const element of document.querySelectorAll('[data-title]')) element.title = text(element.dataset.title);
  for (const element of document.querySelectorAll('[data-placeholder]'))
    element.placeholder = text(element.dataset.placeholder);
  if (state) show(state, true);
}

function switchLanguage() {
  language = language === 'ko' ? 'en' : 'ko';
  localStorage.setItem('vekhost-language', language);
  showTexts();
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
  if (reply.ok) show(JSON.parse(reply.text));
}

// Looks for changes another tab made.
async function poll() {
  const reply = await request('GET', `/api/changes?since=${state.version}`);
  if (reply.ok) await take(JSON.parse(reply.text));
}

function show(next, again = false) {
  const first = !state;
  const notesChanged = first || again || next.notes !== state.notes || next.frame !== state.frame;
  state = next;
  if (first) loadDrawing();
  // Once the command has ended, the host's last prompt no longer asks for
  // anything: the page says so and offers Start.
  const idle = !state.running && !state.ended;
  $('prompt').textContent = idle ? text('command-ended') : state.prompt;
  $('start').classList.toggle('offered', idle);
  $('frame').textContent = text(`${state.frame}-frame`);
  $('frame').title = text('frame-title');
  $('error').textContent = state.error;
  $('hint').textContent = state.refused ? text(`refused:${state.refused}`) : '';
  if (notesChanged) {
    $('notes').replaceChildren(...state.notes.map((n) => {
      const item = document.createElement('li');
      item.textContent = n.readable;
      item.title = n.new ? text('note-new') : `${text('note-changed')}: ${n.name}`;
      return item;
    }));
    sheet.setNotes(state.notes, state.preview, state.frame);
  } else {
    sheet.setPreview(state.preview);
  }
  if (pointer) hover(pointer);
  showCursor();
  showDialog();
  if (state.ended) showEnded();
  if (!$('journal').hidden) loadJournal();
}

// The sheet at once, then the drawing's parts one after another, each drawn
// as it comes.
async function loadDrawing() {
  sheet.setUp(state.frames, state.drawing.items);
  sheet.render();
  requestAnimationFrame(() => performance.mark('vekhost:sheet'));
  const total = state.drawing.items;
  showProgress(0, total);
  for (let part = 0; part < state.drawing.parts; ++part) {
    const reply = await request('GET', `/api/drawing?part=${part}`);
    if (!reply.ok) {
      showRefusal(reply);
      return;
    }
    sheet.addItems(JSON.parse(reply.text).items);
    if (part === 0) performance.mark('vekhost:first-part');
    showProgress(sheet.items.length, total);
    await new Promise((resolve) => requestAnimationFrame(resolve));
  }
  performance.mark('vekhost:drawing');
}

function showProgress(received, total) {
  const done = received >= total;
  $('progress').hidden = done;
  $('progress-bar').max = total || 1;
  $('progress-bar').value = received;
  $('progress-text').textContent = `${received.toLocaleString()} / ${total.toLocaleString()}`;
}

// The host's cursor text beside the mouse pointer, while it is over the drawing.
function showCursor() {
  const cursor = $('cursor');
  cursor.textContent = state.running ? state.cursor : '';
  cursor.style.display = cursor.textContent && pointer ? 'block' : 'none';
  if (!pointer) return;
  cursor.style.left = `${pointer.x + 14}px`;
  cursor.style.top = `${pointer.y + 14}px`;
}

function fitSheet() {
  if (!sheet.grid) return;
  sheet.fit();
  sheet.render();
}

function showEnded() {
  ended = true;
  $('ended').hidden = false;
}

// What a click there would pick, highlighted; the time until the frame that
// shows it is measured.
function hover(at, event) {
  const item = state && state.running && !state.dialog
    ? sheet.itemAt(at.x, at.y, (it) => pickable(state.rule, it)) : null;
  if (sheet.highlight(item) && event && !highlightStart) {
    highlightStart = event.timeStamp;
    requestAnimationFrame(() => {
      performance.measure('vekhost:highlight', { start: highlightStart, end: performance.now() });
      highlightStart = null;
    });
  }
}

function setUpDrawing() {
  const box = $('drawing');
  let pan = null;
  box.addEventListener('pointermove', (event) => {
    pointer = { x: event.clientX, y: event.clientY };
    if (pan) {
      sheet.pan(event.clientX - pan.x, event.clientY - pan.y);
      pan = { x: event.clientX, y: event.clientY };
      return;
    }
    if (!state) return;
    hover(pointer, event);
    showCursor();
    if (state.running && !state.dialog && state.rule.motion) {
      const p = sheet.framePoint(event.clientX, event.clientY, state.frame);
      moveTo(p.x, p.y);
    }
  });
  box.addEventListener('pointerleave', () => {
    pointer = null;
    $('cursor').style.display = 'none';
    sheet.highlight(null);
  });
  box.addEventListener('pointerdown', (event) => {
    if (event.button !== 1) return;
    event.preventDefault();
    pan = { x: event.clientX, y: event.clientY };
  });
  window.addEventListener('pointerup', (event) => { if (event.button === 1) pan = null; });
  box.addEventListener('click', (event) => {
    if (!state || state.dialog || !sheet.grid) return;
    const p = sheet.framePoint(event.clientX, event.clientY, state.frame);
    const picked = !event.shiftKey && sheet.itemAt(event.clientX, event.clientY, (it) => pickable(state.rule, it));
    const on = sheet.itemAt(event.clientX, event.clientY);
    if (picked) play(`pick ${picked.name} ${p.x} ${p.y}`);
    else play(`point ${p.x} ${p.y}` + (on ? ` on ${on.name}` : ''));
  });
  box.addEventListener('contextmenu', (event) => {
    event.preventDefault();
    if (state && !state.dialog) play('end');
  });
  box.addEventListener('wheel', (event) => {
    if (!sheet.grid) return;
    event.preventDefault();
    sheet.zoom(event.deltaY < 0 ? 1.25 : 0.8, event.clientX, event.clientY);
  }, { passive: false });
  window.addEventListener('resize', () => {
    if (!sheet.grid) return;
    sheet.resize();
    sheet.render();
  });
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

// The dialog's OK and Cancel buttons, by their Windows control ids.
const IDOK = 1, IDCANCEL = 2;
let dialogShown = false;
let focusBefore = null; // where the focus was when the dialog opened

// A modal dialog as Windows shows one: the page behind it takes no input,
// and the focus goes back where it was when the dialog closes.
function showDialog() {
  const open = Boolean(state.dialog);
  if (open && !dialogShown) focusBefore = document.activeElement;
  $('dialog-backdrop').hidden = !open;
  for (const behind of document.querySelectorAll('header, main, #journal')) behind.inert = open;
  if (!open) {
    if (dialogShown && focusBefore) focusBefore.focus();
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

// The controls that Tab visits, in the template's order: of a radio group
// only its checked button, as Windows does.
function tabStops() {
  return [...$('dialog-client').querySelectorAll('select, input, button')]
    .filter((e) => e.type !== 'radio' || e.checked);
}

// The dialog's keys: Tab and Shift+Tab go round its controls, Enter is the
// default button (OK) but on a button, Escape is Cancel.
function dialogKey(event) {
  if (!state || !state.dialog) return;
  const button = (id) => state.dialog.controls.find((c) => c.id === id);
  if (event.key === 'Tab') {
    const stops = tabStops();
    const at = stops.indexOf(document.activeElement);
    const step = event.shiftKey ? stops.length - 1 : 1;
    stops[(at < 0 ? 0 : at + step) % stops.length].focus();
  } else if (event.key === 'Escape') {
    pressButton(button(IDCANCEL));
  } else if (event.key === 'Enter' && event.target.tagName !== 'BUTTON' && !event.isComposing) {
    pressButton(button(IDOK));
  } else {
    return;
  }
  event.preventDefault();
}

// OK first hands over what was typed into the edit boxes, as a person's
// typing reaches the dialog before the click.
function pressButton(c) {
  if (c.id === IDOK) {
    for (const edit of $('dialog-client').querySelectorAll('input[type=text]'))
      if (edit.value !== edit.dataset.original) play(`dialog type ${edit.dataset.name} ${edit.value}`);
  }
  play(c.id === IDOK ? 'dialog click ok' : c.id === IDCANCEL ? 'dialog click cancel' : `dialog click ${c.name}`);
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
    // An Enter in the empty box is a slip, not a key-in: nothing is sent.
    if (event.target.value.trim() !== '') play(`keyin ${event.target.value}`);
    event.target.value = '';
  });
  $('dialog').addEventListener('keydown', dialogKey);
  $('end').addEventListener('click', () => play('end'));
  $('fit').addEventListener('click', fitSheet);
  $('language').addEventListener('click', switchLanguage);
  window.addEventListener('keydown', (event) => {
    if (event.key === 'Home' && event.target.tagName !== 'INPUT' && !(state && state.dialog)) fitSheet();
  });
  $('start').addEventListener('click', () => play('start'));
  $('quit').addEventListener('click', async () => {
    const reply = await request('POST', '/api/quit');
    if (reply.ok) show(JSON.parse(reply.text));
    else showRefusal(reply);
    showEnded();
  });
  $('journal-toggle').addEventListener('click', async (event) => {
    const panel = $('journal');
    panel.hidden = !panel.hidden;
    event.target.setAttribute('aria-expanded', String(!panel.hidden));
    if (!panel.hidden) await loadJournal();
  });
}

showTexts();
setUpDrawing();
setUpControls();
events = events.then(refresh);
// Other tabs may play the same session: look again now and then.
setInterval(() => { if (!motionBusy && !ended && state) events = events.then(poll); }, 1500);
