#!/usr/bin/env python3
"""vekhost --serve as an attacker on the same machine probes it: raw sockets
and plain HTTP, traffic only to loopback addresses, every loop bounded.

    check-serve.py VEKHOST EXAMPLES
"""
import gzip
import json
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import time

VEKHOST, EXAMPLES = sys.argv[1], sys.argv[2]
WORK = tempfile.mkdtemp(prefix="check-serve-")
failures = []
passes = 0


def check(name, condition, detail=""):
    global passes
    if condition:
        passes += 1
    else:
        failures.append(name)
        print(f"FAIL {name} {detail}")


class Served:
    """One vekhost --serve process on a drawing, stopped with Ctrl-C."""

    def __init__(self, *options, drawing="box.json"):
        self.folder = tempfile.mkdtemp(dir=WORK)
        self.process = subprocess.Popen(
            [VEKHOST, "--serve", "--registry", os.path.join(self.folder, "r.reg"), "--json",
             os.path.join(self.folder, "r.json"), "--svg", os.path.join(self.folder, "r.svg"),
             *options, drawing if os.path.isabs(drawing) else os.path.join(EXAMPLES, drawing)],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.output = ""
        deadline = time.time() + 20
        while time.time() < deadline:
            line = self.process.stdout.readline()
            if not line:
                break
            self.output += line
            found = re.search(r"serving the session at (http://(\S+?):(\d+)/(\?token=(\w+))?)", line)
            if found:
                self.url, self.port, self.token = found.group(1), int(found.group(3)), found.group(5)
                return
        raise RuntimeError("vekhost did not start:\n" + self.output)

    def stop(self, timeout=10):
        self.process.send_signal(signal.SIGINT)
        try:
            self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return None
        return self.process.returncode

    def memory(self, field):
        with open(f"/proc/{self.process.pid}/status") as status:
            for line in status:
                if line.startswith(field + ":"):
                    return int(line.split()[1]) * 1024
        return 0


def connect(port, family=socket.AF_INET, address="127.0.0.1"):
    client = socket.socket(family, socket.SOCK_STREAM)
    client.settimeout(5)
    client.connect((address, port))
    return client


def ask(port, method, target, headers=None, body=b"", address="127.0.0.1", family=socket.AF_INET,
        host=None):
    """One request on a new connection: (status, headers as a dict of lists, body)."""
    client = connect(port, family, address)
    lines = [f"{method} {target} HTTP/1.1", f"Host: {host or f'127.0.0.1:{port}'}",
             f"Content-Length: {len(body)}", "Connection: close"]
    for name, value in headers or []:
        lines.append(f"{name}: {value}")
    client.sendall(("\r\n".join(lines) + "\r\n\r\n").encode() + body)
    data = b""
    try:
        while chunk := client.recv(65536):
            data += chunk
    except OSError:
        pass
    client.close()
    return parse(data)


def parse(data):
    head, _, body = data.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    status = int(lines[0].split()[1]) if lines and len(lines[0].split()) > 1 else 0
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers.setdefault(name.strip().lower(), []).append(value.strip())
    return status, headers, body


def event(line):
    return json.dumps({"event": line}).encode()


def safety_headers(name, headers, cache="no-store"):
    check(f"{name}: frame-ancestors", "frame-ancestors 'none'" in "".join(headers.get("content-security-policy", [])))
    check(f"{name}: default-src", "default-src 'self'" in "".join(headers.get("content-security-policy", [])))
    check(f"{name}: X-Frame-Options", headers.get("x-frame-options") == ["DENY"])
    check(f"{name}: nosniff", headers.get("x-content-type-options") == ["nosniff"])
    check(f"{name}: Cache-Control", headers.get("cache-control") == [cache], str(headers.get("cache-control")))


def loopback_session():
    s = Served()
    check("loopback: no warning", "warning" not in s.output, s.output)
    check("loopback: no token", s.token is None and s.url == f"http://127.0.0.1:{s.port}/", s.url)
    status, headers, body = ask(s.port, "GET", "/")
    check("page", status == 200, status)
    safety_headers("page", headers)
    status, headers, _ = ask(s.port, "GET", "/nothing")
    check("404", status == 404)
    safety_headers("404", headers)
    status, headers, body = ask(s.port, "GET", "/api/state", host="evil.example")
    check("foreign Host", status == 403 and body.startswith(b"refused: the Host"), body)
    safety_headers("403", headers)
    status, headers, body = ask(s.port, "POST", "/api/event", body=b"x" * 70000)
    check("413", status == 413, status)
    safety_headers("413", headers)
    status, headers, body = ask(s.port, "GET", "/" + "u" * 17000)
    check("431", status == 431 and body == b"refused: a request head has 16384 bytes at most\n", body)
    safety_headers("431", headers)
    status, _, body = ask(s.port, "GET", "/api/state", headers=[("Host", f"127.0.0.1:{s.port}")])
    check("two Hosts", status == 400 and body == b"refused: a request names one Host\n", body)
    status, _, _ = ask(s.port, "POST", "/api/event", [("Origin", f"http://127.0.0.1:{s.port}")] * 2, event("end"))
    check("two Origins", status == 403)
    status, _, body = ask(s.port, "POST", "/api/event", body=event("keyin a\x00b"))
    check("NUL", status == 400 and body == b"an event holds no control characters\n", body)
    status, _, _ = ask(s.port, "GET", "/api/state", [("Sec-Fetch-Site", "same-site")])
    check("another port's page", status == 403)
    check_picture(s)
    check_half_close(s)
    check_latency(s)
    check("Ctrl-C", s.stop() == 0)


def check_picture(s):
    status, headers, body = ask(s.port, "GET", "/api/drawing?part=0", [("Accept-Encoding", "gzip")])
    etag = headers.get("etag", [""])[0]
    check("drawing: tag", status == 200 and etag.startswith('"'), headers)
    check("drawing: gzip", headers.get("content-encoding") == ["gzip"] and body[:2] == b"\x1f\x8b")
    check("drawing: the items", json.loads(gzip.decompress(body))["items"][0][1] == "width")
    safety_headers("drawing", headers, "no-cache")
    status, _, body = ask(s.port, "GET", "/api/drawing?part=0", [("If-None-Match", etag)])
    check("drawing: 304", status == 304 and body == b"", status)
    ask(s.port, "POST", "/api/event", body=event("pick width"))
    status, headers, _ = ask(s.port, "GET", "/api/drawing?part=0", [("If-None-Match", etag)])
    check("drawing: the same after an event", status == 304, status)


def check_half_close(s):
    client = connect(s.port)
    body = event("pick length")
    client.sendall(f"POST /api/event HTTP/1.1\r\nHost: 127.0.0.1:{s.port}\r\nContent-Length: {len(body)}\r\n\r\n".encode() + body)
    client.shutdown(socket.SHUT_WR)
    data = b""
    while chunk := client.recv(65536):
        data += chunk
    status, _, answer = parse(data)
    check("half-closed: played and answered", status == 200 and json.loads(answer)["prompt"] == "높이치수선택 :", data[:200])


def check_latency(s):
    client = connect(s.port)
    times = []
    request = f"GET /api/state HTTP/1.1\r\nHost: 127.0.0.1:{s.port}\r\n\r\n".encode()
    for _ in range(20):
        start = time.perf_counter()
        client.sendall(request)
        data = b""
        while True:
            data += client.recv(65536)
            head, _, body = data.partition(b"\r\n\r\n")
            length = re.search(rb"Content-Length: (\d+)", head, re.I)
            if length and len(body) >= int(length.group(1)):
                break
        times.append(time.perf_counter() - start)
    client.close()
    median = sorted(times)[10]
    check("kept alive: median under 20 ms", median < 0.020, f"{median * 1000:.1f} ms")


def beyond_loopback():
    s = Served("--listen", "0.0.0.0")
    check("0.0.0.0: warned", "warning: listening on 0.0.0.0" in s.output, s.output)
    check("0.0.0.0: a token of 128 bits", s.token is not None and len(s.token) >= 32, s.url)
    status, _, _ = ask(s.port, "GET", "/api/state")
    check("no token", status == 401)
    status, headers, _ = ask(s.port, "GET", f"/?token={s.token}")
    cookie = headers.get("set-cookie", [""])[0]
    check("the address's token", status == 200 and "HttpOnly" in cookie and "SameSite=Strict" in cookie, cookie)
    status, _, _ = ask(s.port, "GET", "/api/state", [("Cookie", cookie.split(";")[0])])
    check("the cookie", status == 200)
    status, _, _ = ask(s.port, "GET", "/api/state", [("Authorization", f"Bearer {s.token}")])
    check("a bearer", status == 200)
    status, _, _ = ask(s.port, "GET", "/api/state", [("Authorization", "Bearer " + "0" * 32)])
    check("a wrong bearer", status == 401)
    addresses = [a for a in socket.gethostbyname_ex(socket.gethostname())[2] if not a.startswith("127.")]
    if addresses:
        status, _, _ = ask(s.port, "GET", f"/api/state?token={s.token}", host=f"{addresses[0]}:{s.port}")
        check("a Host naming the machine", status == 200, addresses[0])
    check("Ctrl-C", s.stop() == 0)


def ipv6_loopback():
    try:
        probe = socket.socket(socket.AF_INET6)
        probe.bind(("::1", 0))
        probe.close()
    except OSError:
        print("skipped: ::1 cannot be bound here")
        return
    s = Served("--listen", "::1")
    check("::1: no warning, no token", "warning" not in s.output and s.token is None, s.output)
    check("::1: bracketed", s.url == f"http://[::1]:{s.port}/", s.url)
    status, _, _ = ask(s.port, "GET", "/api/state", family=socket.AF_INET6, address="::1", host=f"[::1]:{s.port}")
    check("::1: the browser's Host", status == 200, status)
    check("Ctrl-C", s.stop() == 0)


def stopping():
    s = Served()
    trickling = connect(s.port)
    trickling.sendall(b"GET / HTTP/1.1\r\nHo")
    start = time.time()
    code = s.stop()
    check("Ctrl-C with a trickling client", code == 0 and time.time() - start < 10, f"{code} {time.time() - start:.1f} s")
    check("results written", os.path.exists(os.path.join(s.folder, "r.json")))
    s = Served()
    s.process.send_signal(signal.SIGINT)
    s.process.send_signal(signal.SIGINT)
    start = time.time()
    try:
        code = s.process.wait(5)
    except subprocess.TimeoutExpired:
        s.process.kill()
        code = None
    check("a second Ctrl-C ends at once", code in (0, 130) and time.time() - start < 3, code)


def memory(drawing):
    s = Served(drawing=drawing)
    for target in ("/", "/page.js", "/api/state", "/api/drawing?part=0"):
        ask(s.port, "GET", target)
    resident = s.memory("VmRSS")
    held = []
    for _ in range(300):  # idle connections
        held.append(connect(s.port))
    for _ in range(20):  # chunked bodies without end
        client = connect(s.port)
        client.sendall(f"POST /api/event HTTP/1.1\r\nHost: 127.0.0.1:{s.port}\r\nTransfer-Encoding: chunked\r\n\r\n".encode())
        try:
            for _ in range(256):
                client.sendall(b"1000\r\n" + b"c" * 4096 + b"\r\n")
        except OSError:
            pass
        client.close()
    for _ in range(20):  # heads that never end, and a hundred header lines
        client = connect(s.port)
        try:
            client.sendall(b"GET / HTTP/1.1\r\nX-A: " + b"a" * 100000)
        except OSError:
            pass
        client.close()
        ask(s.port, "GET", "/", [(f"X-{i}", "a") for i in range(100)])
    for client in held:
        client.close()
    peak = s.memory("VmHWM")
    print(f"memory ({os.path.basename(drawing)}): peak {peak >> 20} MiB, {(peak - resident) >> 20} MiB above {resident >> 20} MiB resident")
    check(f"memory ({drawing})", peak - resident < 64 << 20, f"{(peak - resident) >> 20} MiB above {resident >> 20} MiB")
    status, _, _ = ask(s.port, "GET", "/api/state")
    check(f"still answering ({drawing})", status == 200)
    s.stop()


def bound_first():
    taken = Served()
    registry = os.path.join(WORK, "untouched.reg")
    for options in (["--listen", "nonsense"], ["--port", str(taken.port)], ["--listen", "192.0.2.1"]):
        result = subprocess.run([VEKHOST, "--serve", "--registry", registry, *options,
                                 os.path.join(EXAMPLES, "box.json")], capture_output=True, text=True, timeout=20)
        check(f"{options}: refused before anything", result.returncode == 2 and not os.path.exists(registry),
              result.stderr)
    taken.stop()


def big_drawing():
    path = os.path.join(WORK, "big.json")
    elements = [{"name": f"e{i}", "from": [i % 290, i % 200], "to": [i % 290 + 5, i % 200 + 5]} for i in range(10000)]
    with open(path, "w") as out:
        json.dump({"dimensions": [{"name": "w", "measure": 100}], "elements": elements}, out)
    return path


def answer_sizes():
    """At 20,000 elements each kind of answer holds what changed, not the
    drawing: an event's and a change set's 10 KB at most, the state without
    the drawing's items, which come in parts of 5,000."""
    path = os.path.join(WORK, "sheet.json")
    with open(path, "w") as out:
        subprocess.run([sys.executable, os.path.join(EXAMPLES, "../bench/make-drawing.py"), "20000"], stdout=out,
                       check=True)
    s = Served(drawing=path)
    status, _, body = ask(s.port, "GET", "/api/state")
    state = json.loads(body)
    check("sizes: the state", status == 200 and len(body) <= 10000, len(body))
    check("sizes: the state counts the items", state["drawing"] == {"items": 20000, "parts": 4}, state["drawing"])
    for part in range(4):
        status, headers, body = ask(s.port, "GET", f"/api/drawing?part={part}", [("Accept-Encoding", "gzip")])
        items = json.loads(gzip.decompress(body))["items"]
        check(f"sizes: part {part}", status == 200 and len(items) == 5000 and len(body) <= 5000 * 40,
              f"{len(items)} items in {len(body)} bytes")
    version = state["version"]
    for line in ["end", "dialog select round 2", "dialog click cancel", "pick width", "pick length", "pick height",
                 "motion 30 12", "motion 31 12", "point 30 12", "start", "pick width", "keyin 7", "pick height",
                 "pick size-field"]:
        status, _, body = ask(s.port, "POST", "/api/event", body=json.dumps({"event": line, "since": version}).encode())
        version = json.loads(body)["version"]
        check(f"sizes: {line}", status == 200 and len(body) <= 10000, f"{status}, {len(body)} bytes")
    status, _, body = ask(s.port, "GET", "/api/changes?since=0")
    check("sizes: the changes since the start", status == 200 and len(body) <= 10000, len(body))
    s.stop()


start = time.time()
answer_sizes()
loopback_session()
beyond_loopback()
ipv6_loopback()
stopping()
bound_first()
memory("box.json")
memory(big_drawing())
print(f"{passes} passed, {len(failures)} failed, in {time.time() - start:.0f} s")
sys.exit(1 if failures else 0)
