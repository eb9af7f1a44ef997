#!/usr/bin/env python3
"""vekhost at the size of real drawings: for generated drawings of 1,000,
10,000 and 100,000 elements (make-drawing.py), beside a drawing that holds
only what the command uses, each figure as the median of RUNS runs, and its
fitted growth (the exponent of N); then 1,000,000 elements once, without a
target. Prints a Markdown table.

    vekhost-bench.py VEKHOST [--runs 5] [--sizes 1000,10000,100000] [--no-million]

Figures:
  load           from the start of vekhost --serve to its "serving" line: the
                 drawing read, checked and placed, the plug-in started
  command        a whole scripted command (three picks, a cursor motion, a
                 data point) from the start to the results written
  motion CPU     CPU time per cursor motion at the note step of a scripted
                 session (1,000 motions, less the same session without them)
  motion answer  the median answer time of 200 motion events over one
                 kept-alive connection to vekhost --serve
  answer size    the largest answer to an event (the dialog's included)
  memory         vekhost --serve's peak resident memory over a session (the
                 page's requests, the events, the results written), less
                 the empty session's, per element
  page           headless Chromium at 1366x768 (page-figures.js): from
                 navigation start to the first frame that shows the sheet, to
                 the whole drawing drawn, and the median time from a
                 pointermove to the frame that shows its highlight
"""
import argparse
import gzip
import http.client
import json
import math
import os
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
COMMAND = ["pick width", "pick length", "pick height", "motion 30 12", "point 30 12"]
MOTIONS = 1000


class Bench:
    def __init__(self, vekhost, folder):
        self.vekhost = vekhost
        self.folder = folder
        self.port = 18900

    def drawing(self, n):
        path = os.path.join(self.folder, f"drawing-{n}.json")
        if not os.path.exists(path):
            with open(path, "w") as out:
                subprocess.run([sys.executable, os.path.join(HERE, "make-drawing.py"), str(n)], stdout=out, check=True)
        return path

    def outputs(self):
        return ["--registry", os.path.join(self.folder, "settings.reg"), "--json", os.path.join(self.folder, "r.json"),
                "--svg", os.path.join(self.folder, "r.svg")]

    def scripted(self, drawing, lines):
        """Wall time and CPU time of a scripted session."""
        script = os.path.join(self.folder, "script.events")
        with open(script, "w") as out:
            out.write("\n".join(lines) + "\n")
        start = time.perf_counter()
        child = subprocess.Popen([self.vekhost, *self.outputs(), drawing, script], stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        if status != 0:
            raise SystemExit(f"vekhost {drawing} failed: {status}")
        return time.perf_counter() - start, usage.ru_utime + usage.ru_stime

    def motion_cpu(self, drawing):
        motions = [f"motion {20 + i % 50} {5 + i % 20}" for i in range(MOTIONS)]
        _, with_motions = self.scripted(drawing, COMMAND[:3] + motions + COMMAND[4:])
        _, without = self.scripted(drawing, COMMAND[:3] + COMMAND[4:])
        return (with_motions - without) / MOTIONS

    def serve(self, drawing):
        self.port += 1
        start = time.perf_counter()
        child = subprocess.Popen([self.vekhost, "--serve", "--port", str(self.port), *self.outputs(), drawing],
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        for line in child.stdout:
            if "serving the session" in line:
                return child, time.perf_counter() - start
        raise SystemExit(f"vekhost --serve {drawing} did not start")

    @staticmethod
    def stop(child):
        """Ends a served session; its peak resident memory in bytes."""
        child.send_signal(2)
        child.stdout.read()
        _, _, usage = os.wait4(child.pid, 0)
        return usage.ru_maxrss * 1024

    def session(self, drawing):
        """One served session as a page plays it: the load time, the motion
        answers' median, the largest event answer, the peak memory."""
        child, load = self.serve(drawing)
        connection = http.client.HTTPConnection("127.0.0.1", self.port)

        def ask(method, path, body=None):
            headers = {"Accept-Encoding": "gzip"}
            if body is not None:
                headers["Content-Type"] = "application/json"
            connection.request(method, path, body=body, headers=headers)
            reply = connection.getresponse()
            data = reply.read()
            if reply.status != 200:
                raise SystemExit(f"{method} {path}: {reply.status} {data[:200]!r}")
            return data

        state = json.loads(ask("GET", "/api/state"))
        for part in range(state["drawing"]["parts"]):
            json.loads(gzip.decompress(ask("GET", f"/api/drawing?part={part}")))
        version = state["version"]
        largest = 0

        def event(line):
            nonlocal version, largest
            body = ask("POST", "/api/event", json.dumps({"event": line, "since": version}))
            largest = max(largest, len(body))
            version = json.loads(body)["version"]

        for line in ["end", "dialog select round 2", "dialog click cancel"] + COMMAND[:3]:
            event(line)
        times = []
        for i in range(200):
            start = time.perf_counter()
            event(f"motion {20 + i % 50} {5 + i % 20}")
            times.append(time.perf_counter() - start)
        event(COMMAND[4])
        connection.close()
        return load, statistics.median(times), largest, self.stop(child)

    def page(self, drawing, until=None):
        child, _ = self.serve(drawing)
        try:
            env = dict(os.environ, NODE_PATH=os.path.join(ROOT, "tests/browser/node_modules"))
            out = subprocess.run(["node", os.path.join(HERE, "page-figures.js"), f"http://127.0.0.1:{self.port}/",
                                  *([until] if until else [])], capture_output=True, text=True, env=env, timeout=1800)
            if out.returncode != 0:
                raise SystemExit(out.stderr.strip())
            return json.loads(out.stdout)
        finally:
            self.stop(child)


def exponent(sizes, values):
    """The slope of log(value) over log(N): how the figure grows with N."""
    points = [(math.log(n), math.log(v)) for n, v in zip(sizes, values) if v > 0]
    if len(points) < 2:
        return float("nan")
    mx = sum(x for x, _ in points) / len(points)
    my = sum(y for _, y in points) / len(points)
    return sum((x - mx) * (y - my) for x, y in points) / sum((x - mx) ** 2 for x, _ in points)


def measure(bench, n, runs, page=True):
    drawing = bench.drawing(n)
    rows = {key: [] for key in ("load", "command", "motion_cpu", "motion_answer", "answer_size", "memory",
                                "sheet", "drawing", "highlight")}
    for _ in range(runs):
        load, answer, largest, memory = bench.session(drawing)
        rows["load"].append(load)
        rows["motion_answer"].append(answer)
        rows["answer_size"].append(largest)
        rows["memory"].append(memory)
        rows["command"].append(bench.scripted(drawing, COMMAND)[0])
        rows["motion_cpu"].append(bench.motion_cpu(drawing))
        if page:
            figures = bench.page(drawing)
            rows["sheet"].append(figures["sheet"] / 1000)
            rows["drawing"].append(figures["drawing"] / 1000)
            rows["highlight"].append(figures["highlight"]["median"] / 1000)
    return {key: statistics.median(values) for key, values in rows.items() if values}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("vekhost")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--sizes", default="1000,10000,100000")
    parser.add_argument("--no-million", action="store_true")
    parser.add_argument("--no-page", action="store_true")
    options = parser.parse_args()
    sizes = [int(n) for n in options.sizes.split(",")]
    folder = tempfile.mkdtemp(prefix="vekhost-bench-")
    try:
        bench = Bench(os.path.abspath(options.vekhost), folder)
        empty = measure(bench, 0, options.runs, page=not options.no_page)
        results = {n: measure(bench, n, options.runs, page=not options.no_page) for n in sizes}
        million = None
        if not options.no_million:
            drawing = bench.drawing(1000000)
            child, load = bench.serve(drawing)
            bench.stop(child)
            million = {"load": load, "command": bench.scripted(drawing, COMMAND)[0]}
            if not options.no_page:
                million["firstPart"] = bench.page(drawing, "first-part")["firstPart"] / 1000
        report(sizes, empty, results, million, options.runs)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def report(sizes, empty, results, million, runs):
    ms = lambda v: f"{v * 1000:.2f} ms"
    s = lambda v: f"{v:.2f} s"
    kb = lambda v: f"{v / 1024:.1f} KiB"
    figures = [
        ("load", s, "2 s at 100,000", None),
        ("command", s, "3 s at 100,000", None),
        ("motion_cpu", ms, "empty + 1 ms", "empty"),
        ("motion_answer", ms, "empty + 1 ms", "empty"),
        ("answer_size", kb, "10 KiB", None),
        ("memory", None, "1 KiB per element", "per-element"),
        ("sheet", s, "3 s at 100,000", None),
        ("drawing", s, "", None),
        ("highlight", ms, "16 ms", None),
    ]
    names = {"load": "load", "command": "scripted command", "motion_cpu": "CPU per cursor motion",
             "motion_answer": "motion answer (median of 200)", "answer_size": "largest event answer",
             "memory": "peak memory above empty, per element", "sheet": "page: first frame with the sheet",
             "drawing": "page: whole drawing drawn", "highlight": "page: pointermove to highlight (median)"}
    header = ["figure (median of %d)" % runs, "empty"] + [f"N = {n:,}" for n in sizes] + ["growth", "target"]
    print("| " + " | ".join(header) + " |")
    print("|" + "|".join("---" for _ in header) + "|")
    for key, form, target, _ in figures:
        if key not in empty:
            continue
        if key == "memory":
            values = [(results[n][key] - empty[key]) / n for n in sizes]
            cells = ["%.0f MiB" % (empty[key] / 2 ** 20)] + [f"{v:.0f} B" for v in values]
        else:
            values = [results[n][key] for n in sizes]
            cells = [form(empty[key])] + [form(v) for v in values]
        print("| " + " | ".join([names[key]] + cells + [f"{exponent(sizes, values):.2f}", target]) + " |")
    if million:
        print()
        print(f"N = 1,000,000, once: load {million['load']:.1f} s, scripted command {million['command']:.1f} s"
              + (f", page's first part drawn {million['firstPart']:.1f} s" if "firstPart" in million else ""))


main()
