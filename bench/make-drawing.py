#!/usr/bin/env python3
"""Writes a drawing of N elements as a drafter's sheet might hold them: 40%
dimensions of every dimension type, 20% notes (general ones and others), 40%
other elements, in both frames; valid against docs/drawing.schema.json. The
first three dimensions are named width, length and height (100, 50 and 20)
and the first note is the general note size-field in the title frame, so
that one script plays on every size.

    make-drawing.py N [SEED] > drawing.json
"""
import json
import random
import sys

DIMENSION_TYPES = [12, 13, 14, 15, 17, 22, 23, 24, 25, 26]


def main():
    count = int(sys.argv[1])
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 1)
    figure, title = [1189, 841], [180, 60]  # an A0 sheet, its title block
    dimensions, notes, elements = [], [], []

    def point(frame):
        box = figure if frame == "figure" else title
        return [round(rng.uniform(0, box[0]), 2), round(rng.uniform(0, box[1]), 2)]

    for i in range(count):
        kind = i % 5
        frame = "title" if rng.random() < 0.05 else "figure"
        if kind in (0, 1):
            start = point(frame)
            end = [start[0] + round(rng.uniform(5, 80), 2), start[1]] if i % 2 else \
                  [start[0], start[1] + round(rng.uniform(5, 80), 2)]
            d = {"name": f"d{i}", "type": rng.choice(DIMENSION_TYPES),
                 "measure": round(rng.uniform(1, 500), rng.choice([0, 1, 2])),
                 "decimals": rng.choice([0, 1, 2]), "from": start, "to": end,
                 "offset": round(rng.uniform(-12, 12), 1), "frame": frame}
            if i % 7 == 0:
                d.update(prefix="R", noteResult=1)
            if i % 11 == 0:
                d.update(mark=2)
            dimensions.append(d)
        elif kind == 2:
            notes.append({"name": f"n{i}", "kind": 33 if i % 3 else 32, "at": point(frame),
                          "text": f"NOTE {i}", "height": 3.5, "frame": frame})
        else:
            start = point(frame)
            elements.append({"name": f"e{i}", "type": 1, "from": start,
                             "to": [start[0] + rng.uniform(-50, 50), start[1] + rng.uniform(-50, 50)],
                             "frame": frame})
    # The three measures and the general note every script uses.
    named = [("width", 12, 100, [100, 700], [200, 700]), ("length", 13, 50, [200, 700], [200, 750]),
             ("height", 13, 20, [300, 600], [300, 620])]
    for k, (name, type_, measure, start, end) in enumerate(named):
        entry = {"name": name, "type": type_, "measure": measure, "from": start, "to": end,
                 "offset": -10, "frame": "figure"}
        if k < len(dimensions):
            dimensions[k] = entry
        else:
            dimensions.append(entry)
    field = {"name": "size-field", "kind": 33, "at": [10, 20], "text": "SIZE: TBD", "frame": "title"}
    if notes:
        notes[0] = field
    else:
        notes.append(field)
    json.dump({"frames": {"figure": {"origin": [0, 0], "size": figure},
                          "title": {"origin": [figure[0] - title[0], 0], "size": title}},
               "dimensions": dimensions, "notes": notes, "elements": elements}, sys.stdout)


main()
