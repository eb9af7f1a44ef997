// The page's copy of the session's state, kept up to date from the change
// sets that vekhost answers events and polls with: what the step shows and
// takes is replaced whole, the notes written are changed one by one. Plain
// functions on plain objects, so that Node runs them too (the tests).
'use strict';

// The parts of the state that a change set carries whole.
const STEP_PARTS = ['version', 'running', 'ended', 'prompt', 'cursor', 'error', 'refused', 'frame', 'preview',
  'rule', 'dialog'];

// The state after the change set; null when the copy cannot be brought up to
// date from it (vekhost asks for a resync, or it answers another version
// than the copy's), and the whole state must be read again.
function applyChanges(copy, changes) {
  if (!copy || changes.resync || changes.since !== copy.version) return null;
  const next = { ...copy };
  for (const part of STEP_PARTS) next[part] = changes[part];
  if (changes.notes.length === 0) return next; // the same notes: nothing to draw again
  const notes = new Map(copy.notes.map((note) => [note.id, note]));
  for (const note of changes.notes) {
    if (note.written === false) notes.delete(note.id);
    else notes.set(note.id, note);
  }
  next.notes = [...notes.values()].sort((a, b) => a.id - b.id);
  return next;
}

// Whether a pick of the item reaches the plug-in now, by the step's rule.
function pickable(rule, item) {
  if (!rule) return false;
  const kinds = item.list === 'd' ? rule.dimensions : item.list === 'n' ? rule.notes : rule.elements;
  return kinds.includes(item.kind);
}

if (typeof module !== 'undefined') module.exports = { applyChanges, pickable, STEP_PARTS };
