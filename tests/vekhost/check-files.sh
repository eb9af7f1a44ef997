#!/bin/bash
# The files vekhost writes, under the faults a careful user and an
# administrator meet: programs saving the settings at once, kill -9 at any
# moment, a second Ctrl-C while the results are written, links and modes.
# Each check a bounded number of tries. (A file's last line feed is left
# out by $(...), so a whole picture's tail reads "</svg>".)
#   check-files.sh VEKHOST WINSTUB-SET DEFAULTS.reg
set -uo pipefail
vekhost=$1 winstub_set=$2 defaults=$3
examples=$(cd "$(dirname "$0")/../../examples" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0 passes=0
pass() { passes=$((passes + 1)); }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

# Every control of the dialog, each to a value of its own: OK with A or with B.
dialog() {
  local n=$1 font=$2 list=$3
  printf 'end\ndialog select round %s\ndialog click %s\n' "$n" "$font"
  for edit in connector width height pitch x y prefix; do printf 'dialog type %s %s%s\n' "$edit" "$edit" "$n"; done
  printf 'dialog select frame-dim %s\ndialog select frame-char %s\ndialog select frame-cmd %s\n' "$list" "$list" "$list"
  printf 'dialog click ok\n'
}
dialog 1 font-external 0 >a.events
dialog 2 font-windows 1 >b.events
# The twelve values as --settings shows them, on one line.
values() { "$vekhost" --registry "$1" --settings 2>&1 | grep -E '^  [A-Za-z]+ = ' | tr -d '\n'; }
"$vekhost" --registry a.reg "$examples/box.json" a.events >/dev/null
"$vekhost" --registry b.reg "$examples/box.json" b.events >/dev/null
from_a=$(values a.reg) from_b=$(values b.reg)
[ "$from_a" != "$from_b" ] && [ -n "$from_a" ] && pass || fail "the two OKs store different values"

# Two programs pressing OK at once, and a third setting a value of its own:
# the file reads, its twelve values come from one OK, the third's survives.
for try in $(seq 50); do
  cp "$defaults" shared.reg
  "$vekhost" --registry shared.reg "$examples/box.json" a.events >/dev/null 2>&1 &
  "$vekhost" --registry shared.reg "$examples/box.json" b.events >/dev/null 2>&1 &
  "$winstub_set" shared.reg Extra "set by one program" &
  wait
  got=$(values shared.reg)
  if [ "$got" != "$from_a" ] && [ "$got" != "$from_b" ]; then fail "try $try: mixed or unreadable: $got"; break; fi
  if ! "$vekhost" --registry shared.reg --settings >/dev/null 2>&1; then fail "try $try: unreadable"; break; fi
  if ! iconv -f UTF-16LE -t UTF-8 shared.reg | grep -q '"Extra"="set by one program"'; then
    fail "try $try: the third program's value was lost"; break
  fi
done
pass

# kill -9 during twenty OKs: the file always reads, never a mix of two OKs.
for n in $(seq 10); do cat a.events b.events; done >many.events
cp "$defaults" killed.reg
"$vekhost" --registry killed.reg "$examples/box.json" a.events >/dev/null
start=$SECONDS
for try in $(seq 50); do
  "$vekhost" --registry killed.reg "$examples/box.json" many.events >/dev/null 2>&1 &
  sleep "0.0$((RANDOM % 60))"
  { kill -9 $! && wait $!; } 2>/dev/null
  got=$(values killed.reg)
  if [ "$got" != "$from_a" ] && [ "$got" != "$from_b" ]; then fail "kill try $try: $got"; break; fi
  [ $((SECONDS - start)) -lt 40 ] || break
done
pass

# kill -9 while a session's results are written: each file is whole, old or new.
printf 'pick width\npick length\npick height\npoint 30 12\n' >box.events
"$vekhost" --registry results.reg --json r.json --svg r.svg "$examples/box.json" box.events >/dev/null
for try in $(seq 50); do
  "$vekhost" --registry results.reg --json r.json --svg r.svg "$examples/box.json" box.events >/dev/null 2>&1 &
  sleep "0.0$((RANDOM % 40))"
  { kill -9 $! && wait $!; } 2>/dev/null
  if ! python3 -c 'import json,sys; json.load(open("r.json"))' 2>/dev/null; then fail "result try $try: r.json broken"; break; fi
  [ "$(tail -c 7 r.svg)" = "</svg>" ] || { fail "result try $try: r.svg broken"; break; }
done
pass

# A second Ctrl-C while the results are written stops at once (130), or the
# session ends first (0): either way each file is whole and no temporary stays.
python3 - >big.json <<'EOF'
import json
elements = [{"name": f"e{i}", "from": [i % 290, i % 200], "to": [i % 290 + 5, i % 200 + 5]} for i in range(20000)]
print(json.dumps({"dimensions": [{"name": "w", "measure": 100}, {"name": "l", "type": 13, "measure": 50},
                                 {"name": "h", "type": 13, "measure": 20}], "elements": elements}))
EOF
printf 'pick w\npick l\npick h\npoint 1 1\n' >big.events
"$vekhost" --registry results.reg --json b.json --svg b.svg big.json big.events >/dev/null
for try in $(seq 20); do
  "$vekhost" --registry results.reg --json b.json --svg b.svg big.json big.events >/dev/null 2>&1 &
  pid=$!
  sleep "0.$(printf %02d $((RANDOM % 16)))"
  kill -INT $pid 2>/dev/null
  sleep "0.00$((RANDOM % 6))"
  kill -INT $pid 2>/dev/null
  wait $pid
  status=$?
  if [ $status -ne 0 ] && [ $status -ne 130 ]; then fail "Ctrl-C try $try: status $status"; break; fi
  if ! python3 -c 'import json; json.load(open("b.json"))' 2>/dev/null || [ "$(tail -c 7 b.svg)" != "</svg>" ]; then
    fail "Ctrl-C try $try: a result is broken"; break
  fi
  if ls -A | grep -q '^\.b\.'; then fail "Ctrl-C try $try: a temporary stayed: $(ls -A | grep '^\.b\.')"; break; fi
done
pass

# A settings file behind a link, with its own mode: the link stays, the file
# it names is updated and keeps its mode.
cp "$defaults" real.reg
chmod 600 real.reg
ln -s real.reg link.reg
"$vekhost" --registry link.reg "$examples/box.json" b.events >/dev/null
[ -L link.reg ] && pass || fail "the link was replaced"
[ "$(values real.reg)" = "$from_b" ] && pass || fail "the linked file was not updated"
[ "$(stat -c %a real.reg)" = 600 ] && pass || fail "the mode became $(stat -c %a real.reg)"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
