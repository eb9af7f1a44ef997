// The geometry the page's drawing stands on: a grid of cells over the sheet
// that finds the items near a place without walking every item, and the
// distances and boxes that it and the picks measure with. Plain functions,
// so that Node runs them too (the tests).
'use strict';

// Cells of equal size over the sheet, each with the items whose box meets it.
class Grid {
  constructor(box, expected) {
    this.box = box;
    const side = Math.max(1, Math.min(512, Math.ceil(Math.sqrt(expected / 4))));
    this.columns = side;
    this.rows = side;
    this.width = (box[2] - box[0]) / side || 1;
    this.height = (box[3] - box[1]) / side || 1;
    this.cells = new Array(side * side);
  }

  range(box) {
    const clamp = (v, n) => Math.max(0, Math.min(n - 1, v));
    return [clamp(Math.floor((box[0] - this.box[0]) / this.width), this.columns),
      clamp(Math.floor((box[1] - this.box[1]) / this.height), this.rows),
      clamp(Math.floor((box[2] - this.box[0]) / this.width), this.columns),
      clamp(Math.floor((box[3] - this.box[1]) / this.height), this.rows)];
  }

  add(index, box) {
    const [c0, r0, c1, r1] = this.range(box);
    for (let r = r0; r <= r1; ++r) {
      for (let c = c0; c <= c1; ++c) {
        const cell = r * this.columns + c;
        (this.cells[cell] || (this.cells[cell] = [])).push(index);
      }
    }
  }

  // Calls visit once for each item in the cells that meet the box.
  query(box, seen, stamp, visit) {
    const [c0, r0, c1, r1] = this.range(box);
    for (let r = r0; r <= r1; ++r) {
      for (let c = c0; c <= c1; ++c) {
        const cell = this.cells[r * this.columns + c];
        if (!cell) continue;
        for (const index of cell) {
          if (seen[index] === stamp) continue;
          seen[index] = stamp;
          visit(index);
        }
      }
    }
  }
}

// The distance from p to the segment from a to b.
function segmentDistance(px, py, ax, ay, bx, by) {
  const dx = bx - ax, dy = by - ay;
  const length = dx * dx + dy * dy;
  const t = length ? Math.max(0, Math.min(1, ((px - ax) * dx + (py - ay) * dy) / length)) : 0;
  return Math.hypot(px - ax - t * dx, py - ay - t * dy);
}

function boxOf(points) {
  const box = [Infinity, Infinity, -Infinity, -Infinity];
  for (let i = 0; i < points.length; i += 2) {
    box[0] = Math.min(box[0], points[i]);
    box[1] = Math.min(box[1], points[i + 1]);
    box[2] = Math.max(box[2], points[i]);
    box[3] = Math.max(box[3], points[i + 1]);
  }
  return box;
}

// A text's width, roughly, for its box: wide letters count twice.
function textWidth(text, size) {
  let units = 0;
  for (const c of text) units += c.codePointAt(0) > 0x2e80 ? 1 : 0.6;
  return units * size;
}

if (typeof module !== 'undefined') module.exports = { Grid, segmentDistance, boxOf, textWidth };
