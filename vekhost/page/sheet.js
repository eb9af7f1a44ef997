// The drawing on two canvases: the sheet (frames, items, notes written) and,
// above it, what follows the pointer (the highlight and the preview note).
// The page keeps its own copy of the drawing's items, in a grid of cells, so
// that drawing a view and finding what is under the pointer visit the cells
// in sight, never every item. Text too small to read is left out.
//
// Coordinates: an item's frame coordinates, the sheet's (a frame's origin
// added, y upwards) and the window's pixels.
'use strict';

const COLORS = {
  element: '#000', dimension: '#1f5fbf', frame: '#222', otherFrame: '#999', label: '#777',
  newNote: '#d01c1c', changedNote: '#e07b00', oldNote: '#999', highlight: '#e07b00', preview: '#2a8a2a',
};
const DIMENSION_TEXT = 3.5; // the height of a dimension's text, in drawing units
const SMALLEST_TEXT = 4; // pixels: smaller text is not drawn
const PICK_DISTANCE = 5; // pixels between the pointer and what it picks
const ARROW = 1.8; // an arrow head's length, in drawing units
const SMALLEST_ARROW = 3; // pixels: smaller arrow heads are not drawn

class Sheet {
  constructor(base, overlay) {
    this.base = base;
    this.overlay = overlay;
    this.items = [];
    this.byName = new Map();
    this.seen = new Int32Array(0);
    this.stamp = 0;
    this.grid = null;
    this.frames = null;
    this.currentFrame = 'figure';
    this.changed = new Map(); // the drawing's notes written over, by name
    this.added = []; // the new notes
    this.preview = null;
    this.hovered = null;
    this.view = null; // {x, y, scale}: the sheet point at the canvas's top left, pixels per unit
    this.pending = false;
    this.labels = { figure: 'figure frame', title: 'title frame', current: '(current)' }; // the frames' names
  }

  // The frames, and how many items will come.
  setUp(frames, total) {
    this.frames = frames;
    const boxes = Object.values(frames).map((f) => [f.origin[0], f.origin[1],
      f.origin[0] + f.size[0], f.origin[1] + f.size[1]]);
    const margin = 10;
    this.extent = [Math.min(...boxes.map((b) => b[0])) - margin, Math.min(...boxes.map((b) => b[1])) - margin,
      Math.max(...boxes.map((b) => b[2])) + margin, Math.max(...boxes.map((b) => b[3])) + margin];
    this.grid = new Grid(this.extent, total);
    this.seen = new Int32Array(total);
    this.resize();
    this.fit();
  }

  // Fits the canvases to their box, keeping the view.
  resize() {
    const ratio = window.devicePixelRatio || 1;
    for (const canvas of [this.base, this.overlay]) {
      canvas.width = Math.round(canvas.clientWidth * ratio);
      canvas.height = Math.round(canvas.clientHeight * ratio);
      canvas.getContext('2d').setTransform(ratio, 0, 0, ratio, 0, 0);
    }
  }

  // The whole sheet in view, and the notes written beside it.
  fit() {
    let [x0, y0, x1, y1] = this.extent;
    for (const note of this.added || []) {
      const o = this.frames[note.frame].origin;
      const x = o[0] + note.at[0], y = o[1] + note.at[1];
      const size = note.height > 0 ? note.height : DIMENSION_TEXT;
      [x0, y0] = [Math.min(x0, x - size), Math.min(y0, y - size)];
      [x1, y1] = [Math.max(x1, x + textWidth(note.readable, size) + size), Math.max(y1, y + 2 * size)];
    }
    const width = this.base.clientWidth || 1, height = this.base.clientHeight || 1;
    const scale = Math.min(width / (x1 - x0), height / (y1 - y0));
    this.view = { x: (x0 + x1) / 2 - width / 2 / scale, y: (y0 + y1) / 2 + height / 2 / scale, scale };
  }

  toScreen(x, y) {
    return [(x - this.view.x) * this.view.scale, (this.view.y - y) * this.view.scale];
  }

  // The sheet point under a window position.
  toSheet(clientX, clientY) {
    const r = this.base.getBoundingClientRect();
    return [this.view.x + (clientX - r.left) / this.view.scale, this.view.y - (clientY - r.top) / this.view.scale];
  }

  // A frame's point in the window's pixels.
  screenPoint(frame, x, y) {
    const origin = this.frames[frame].origin;
    const [sx, sy] = this.toScreen(origin[0] + x, origin[1] + y);
    const r = this.base.getBoundingClientRect();
    return { x: r.left + sx, y: r.top + sy };
  }

  // A window position in a frame's coordinates, to 0.01.
  framePoint(clientX, clientY, frame) {
    const [x, y] = this.toSheet(clientX, clientY);
    const origin = this.frames[frame].origin;
    const round = (v) => Math.round(v * 100) / 100;
    return { x: round(x - origin[0]), y: round(y - origin[1]) };
  }

  // Where a person clicks to pick the named item, in the window's pixels.
  pickPoint(name) {
    const item = this.items[this.byName.get(name)];
    if (!item) return null;
    const [x, y] = item.list === 'n' ? [item.x + 1, item.y + item.size / 3]
      : item.list === 'd' ? [(item.ax + item.bx) / 2, (item.ay + item.by) / 2]
        : [(item.x1 + item.x2) / 2, (item.y1 + item.y2) / 2];
    const [sx, sy] = this.toScreen(x, y);
    const r = this.base.getBoundingClientRect();
    return { x: r.left + sx, y: r.top + sy };
  }

  // Takes a part's items (arrays, as vekhost sends them) and draws them.
  addItems(rows) {
    const first = this.items.length;
    for (const row of rows) {
      const item = this.makeItem(row);
      const index = this.items.push(item) - 1;
      this.byName.set(item.name, index);
      this.grid.add(index, item.box);
    }
    if (this.seen.length < this.items.length) {
      const seen = new Int32Array(this.items.length);
      seen.set(this.seen);
      this.seen = seen;
    }
    const visible = [];
    const view = this.viewBox();
    for (let i = first; i < this.items.length; ++i) {
      const b = this.items[i].box;
      if (b[0] <= view[2] && b[2] >= view[0] && b[1] <= view[3] && b[3] >= view[1]) visible.push(i);
    }
    this.drawItems(this.base.getContext('2d'), visible);
  }

  makeItem(row) {
    const [list, name, kind, frame] = row;
    const o = this.frames[frame].origin;
    if (list === 'n') {
      const [, , , , x, y, height, text] = row;
      const size = height > 0 ? height : DIMENSION_TEXT;
      const item = { list, name, kind, frame, x: o[0] + x, y: o[1] + y, size, text };
      item.box = [item.x, item.y - size / 4, item.x + textWidth(text, size), item.y + size];
      return item;
    }
    const [, , , , x1, y1, x2, y2] = row;
    const item = { list, name, kind, frame, x1: o[0] + x1, y1: o[1] + y1, x2: o[0] + x2, y2: o[1] + y2 };
    if (list === 'e') {
      item.box = boxOf([item.x1, item.y1, item.x2, item.y2]);
      return item;
    }
    const offset = row[8];
    item.text = row[9];
    const dx = item.x2 - item.x1, dy = item.y2 - item.y1;
    const length = Math.hypot(dx, dy) || 1;
    const nx = -dy / length, ny = dx / length;
    Object.assign(item, {
      ax: item.x1 + nx * offset, ay: item.y1 + ny * offset, bx: item.x2 + nx * offset, by: item.y2 + ny * offset,
      ex: nx * offset * 1.1, ey: ny * offset * 1.1,
    });
    const away = offset + (offset < 0 ? -1 : 1) * 2.5;
    item.tx = (item.x1 + item.x2) / 2 + nx * away;
    item.ty = (item.y1 + item.y2) / 2 + ny * away;
    let angle = Math.atan2(dy, dx);
    if (angle > Math.PI / 2 || angle <= -Math.PI / 2) angle += Math.PI;
    item.angle = angle;
    const half = textWidth(item.text, DIMENSION_TEXT) / 2 + DIMENSION_TEXT;
    item.box = boxOf([item.x1, item.y1, item.x2, item.y2, item.x1 + item.ex, item.y1 + item.ey,
      item.x2 + item.ex, item.y2 + item.ey, item.tx - half, item.ty - half, item.tx + half, item.ty + half]);
    return item;
  }

  // The sheet's box that the canvas shows.
  viewBox() {
    const width = this.base.clientWidth / this.view.scale, height = this.base.clientHeight / this.view.scale;
    return [this.view.x, this.view.y - height, this.view.x + width, this.view.y];
  }

  // Draws the items given on the context: lines first, in one path per
  // color, then the texts large enough to read.
  drawItems(ctx, indices, color) {
    const scale = this.view.scale;
    const line = (x1, y1, x2, y2) => {
      const [a, b] = this.toScreen(x1, y1);
      const [c, d] = this.toScreen(x2, y2);
      ctx.moveTo(a, b);
      ctx.lineTo(c, d);
    };
    for (const [list, stroke, width] of [['e', COLORS.element, 0.5], ['d', COLORS.dimension, 0.3]]) {
      ctx.beginPath();
      for (const i of indices) {
        const it = this.items[i];
        if (it.list !== list) continue;
        if (list === 'e') {
          line(it.x1, it.y1, it.x2, it.y2);
        } else {
          line(it.ax, it.ay, it.bx, it.by);
          line(it.x1, it.y1, it.x1 + it.ex, it.y1 + it.ey);
          line(it.x2, it.y2, it.x2 + it.ex, it.y2 + it.ey);
        }
      }
      ctx.strokeStyle = color || stroke;
      ctx.lineWidth = Math.max(color ? 2 : 1, width * scale);
      ctx.stroke();
    }
    if (ARROW * scale >= SMALLEST_ARROW) this.drawArrows(ctx, indices, color);
    this.drawTexts(ctx, indices, color);
  }

  drawArrows(ctx, indices, color) {
    ctx.beginPath();
    for (const i of indices) {
      const it = this.items[i];
      if (it.list !== 'd') continue;
      for (const [px, py, qx, qy] of [[it.ax, it.ay, it.bx, it.by], [it.bx, it.by, it.ax, it.ay]]) {
        const length = Math.hypot(qx - px, qy - py) || 1;
        const ux = (qx - px) / length, uy = (qy - py) / length;
        const [a, b] = this.toScreen(px, py);
        const w = ARROW / 3;
        const [c, d] = this.toScreen(px + ux * ARROW - uy * w, py + uy * ARROW + ux * w);
        const [e, f] = this.toScreen(px + ux * ARROW + uy * w, py + uy * ARROW - ux * w);
        ctx.moveTo(a, b);
        ctx.lineTo(c, d);
        ctx.lineTo(e, f);
        ctx.closePath();
      }
    }
    ctx.fillStyle = color || COLORS.dimension;
    ctx.fill();
  }

  drawTexts(ctx, indices, color) {
    const scale = this.view.scale;
    ctx.textBaseline = 'alphabetic';
    for (const i of indices) {
      const it = this.items[i];
      if (it.list === 'e') continue;
      const size = it.list === 'd' ? DIMENSION_TEXT : it.size;
      if (size * scale < SMALLEST_TEXT) {
        if (it.list === 'n') this.drawTextMark(ctx, it, color);
        continue;
      }
      const changed = it.list === 'n' && this.changed.get(it.name);
      ctx.font = `${size * scale}px sans-serif`;
      if (it.list === 'd') {
        const [x, y] = this.toScreen(it.tx, it.ty);
        ctx.save();
        ctx.translate(x, y);
        ctx.rotate(-it.angle);
        ctx.textAlign = 'center';
        ctx.textBaseline = 'middle';
        if (color) {
          // Lit, the value stays readable: a white rim keeps the lit lines off it.
          ctx.strokeStyle = 'white';
          ctx.lineWidth = 3;
          ctx.lineJoin = 'round';
          ctx.strokeText(it.text, 0, 0);
        }
        ctx.fillStyle = color || COLORS.dimension;
        ctx.fillText(it.text, 0, 0);
        ctx.restore();
      } else if (changed) {
        this.drawChangedNote(ctx, it, changed, color);
      } else {
        const [x, y] = this.toScreen(it.x, it.y);
        ctx.textAlign = 'left';
        ctx.fillStyle = color || COLORS.element;
        ctx.fillText(it.text, x, y);
      }
    }
  }

  // A note too small to read: a stroke where its text stands.
  drawTextMark(ctx, it, color) {
    const [x, y] = this.toScreen(it.x, it.y);
    const width = Math.max(1, textWidth(it.text, it.size) * this.view.scale);
    ctx.fillStyle = color || (this.changed.has(it.name) ? COLORS.changedNote : COLORS.oldNote);
    ctx.fillRect(x, y - 1, width, 1);
  }

  // A drawing's note written over: its old text struck through, then the new.
  drawChangedNote(ctx, it, note, color) {
    const [x, y] = this.toScreen(note.at[0] + this.frames[note.frame].origin[0],
      note.at[1] + this.frames[note.frame].origin[1]);
    const size = (note.height > 0 ? note.height : DIMENSION_TEXT) * this.view.scale;
    ctx.font = `${size}px sans-serif`;
    ctx.textAlign = 'left';
    const old = ctx.measureText(it.text).width;
    ctx.fillStyle = color || COLORS.oldNote;
    ctx.fillText(it.text, x, y);
    ctx.fillRect(x, y - size / 3, old, Math.max(1, size / 12));
    ctx.fillStyle = color || COLORS.changedNote;
    ctx.fillText(note.readable, x + old + size / 3, y);
  }

  // The notes written, the preview and the current frame, as the state has them.
  setNotes(notes, preview, currentFrame) {
    this.changed = new Map(notes.filter((n) => n.name).map((n) => [n.name, n]));
    this.added = notes.filter((n) => !n.name);
    this.currentFrame = currentFrame;
    this.preview = preview;
    this.render();
  }

  // Draws the whole view again, once per frame at most.
  render() {
    if (this.pending || !this.frames) return;
    this.pending = true;
    requestAnimationFrame(() => {
      this.pending = false;
      this.drawSheet();
      this.drawOverlay();
    });
  }

  drawSheet() {
    const ctx = this.base.getContext('2d');
    ctx.clearRect(0, 0, this.base.clientWidth, this.base.clientHeight);
    const [x0, y0, x1, y1] = this.extent;
    const [a, b] = this.toScreen(x0, y1);
    const [c, d] = this.toScreen(x1, y0);
    ctx.fillStyle = '#fff';
    ctx.fillRect(a, b, c - a, d - b);
    this.drawFrames(ctx);
    const visible = [];
    this.grid.query(this.viewBox(), this.seen, ++this.stamp, (i) => visible.push(i));
    this.drawItems(ctx, visible);
    this.drawAddedNotes(ctx);
  }

  drawFrames(ctx) {
    for (const name of ['figure', 'title']) {
      const f = this.frames[name];
      const current = name === this.currentFrame;
      const [a, b] = this.toScreen(f.origin[0], f.origin[1] + f.size[1]);
      const [c, d] = this.toScreen(f.origin[0] + f.size[0], f.origin[1]);
      ctx.strokeStyle = current ? COLORS.frame : COLORS.otherFrame;
      ctx.lineWidth = current ? 2 : 1;
      ctx.strokeRect(a, b, c - a, d - b);
      const size = 3 * this.view.scale;
      if (size < SMALLEST_TEXT) continue;
      ctx.font = `${size}px sans-serif`;
      ctx.textAlign = 'left';
      ctx.fillStyle = COLORS.label;
      ctx.fillText(`${this.labels[name]}${current ? ` ${this.labels.current}` : ''}`,
        a + 1.5 * this.view.scale, b + 4 * this.view.scale);
    }
  }

  drawNoteAt(ctx, note, color) {
    const origin = this.frames[note.frame].origin;
    const [x, y] = this.toScreen(origin[0] + note.at[0], origin[1] + note.at[1]);
    const size = Math.max(SMALLEST_TEXT, (note.height > 0 ? note.height : DIMENSION_TEXT) * this.view.scale);
    ctx.font = `${size}px sans-serif`;
    ctx.textAlign = 'left';
    ctx.textBaseline = 'alphabetic';
    ctx.fillStyle = color;
    ctx.fillText(note.readable, x, y);
  }

  // The new notes: always drawn, however small, so that none is missed.
  drawAddedNotes(ctx) {
    for (const note of this.added) this.drawNoteAt(ctx, note, COLORS.newNote);
  }

  // The item under the pointer, the nearest within a few pixels; only those
  // that accept answers, when given.
  itemAt(clientX, clientY, accepts) {
    if (!this.grid) return null;
    const [x, y] = this.toSheet(clientX, clientY);
    const reach = PICK_DISTANCE / this.view.scale;
    let best = null, bestDistance = reach;
    this.grid.query([x - reach, y - reach, x + reach, y + reach], this.seen, ++this.stamp, (i) => {
      const it = this.items[i];
      if (accepts && !accepts(it)) return;
      const distance = this.distanceTo(it, x, y, reach);
      if (distance < bestDistance || (distance === bestDistance && !best)) {
        best = it;
        bestDistance = distance;
      }
    });
    return best;
  }

  // How near the point is to the item's lines, or inside its text. A
  // dimension's text counts as half the reach, so that a line under the
  // pointer wins over a text that covers it.
  distanceTo(it, x, y, reach) {
    if (it.list === 'e') return segmentDistance(x, y, it.x1, it.y1, it.x2, it.y2);
    const inBox = (b, distance) => (x >= b[0] && x <= b[2] && y >= b[1] && y <= b[3] ? distance : Infinity);
    if (it.list === 'n') return inBox(it.box, 0);
    const half = textWidth(it.text, DIMENSION_TEXT) / 2;
    return Math.min(segmentDistance(x, y, it.ax, it.ay, it.bx, it.by),
      segmentDistance(x, y, it.x1, it.y1, it.x1 + it.ex, it.y1 + it.ey),
      segmentDistance(x, y, it.x2, it.y2, it.x2 + it.ex, it.y2 + it.ey),
      inBox([it.tx - half, it.ty - DIMENSION_TEXT / 2, it.tx + half, it.ty + DIMENSION_TEXT / 2], reach / 2));
  }

  // Shows the item as the one a click would pick (null: none).
  highlight(item) {
    if (item === this.hovered) return false;
    this.hovered = item;
    this.drawOverlay();
    return true;
  }

  setPreview(preview) {
    this.preview = preview;
    this.drawOverlay();
  }

  drawOverlay() {
    const ctx = this.overlay.getContext('2d');
    ctx.clearRect(0, 0, this.overlay.clientWidth, this.overlay.clientHeight);
    if (this.hovered) this.drawItems(ctx, [this.byName.get(this.hovered.name)], COLORS.highlight);
    if (this.preview) this.drawNoteAt(ctx, this.preview, COLORS.preview);
  }

  // Zooms by the factor, keeping the sheet point under the window position.
  zoom(factor, clientX, clientY) {
    const [x, y] = this.toSheet(clientX, clientY);
    const scale = this.view.scale * factor;
    const r = this.base.getBoundingClientRect();
    this.view = { x: x - (clientX - r.left) / scale, y: y + (clientY - r.top) / scale, scale };
    this.render();
  }

  pan(dx, dy) {
    this.view.x -= dx / this.view.scale;
    this.view.y += dy / this.view.scale;
    this.render();
  }
}

if (typeof module !== 'undefined') module.exports = { Sheet };
