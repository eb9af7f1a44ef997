#!/bin/bash
# Runs vekhost as a user would and checks what it says and leaves behind.
#   check-vekhost.sh linux VEKHOST          (the Linux build)
#   check-vekhost.sh win64 WINE-RUN VEKHOST (the Windows build under Wine)
set -uo pipefail
kind=$1; shift
vekhost=("$@")
here=$(cd "$(dirname "$0")" && pwd)
examples=$(cd "$here/../../examples" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0 passes=0

# check NAME EXPECTED-STATUS PATTERN -- ARGS...: the run's status and a line matching PATTERN.
check() {
  local name=$1 status=$2 pattern=$3
  shift 4
  local output
  output=$("$@" 2>&1)
  local got=$?
  output=${output//$'\r'/}
  if [ "$got" -ne "$status" ] || ! grep -qE -- "$pattern" <<<"$output"; then
    echo "FAIL $name: status $got (expected $status), output:"
    sed 's/^/    /' <<<"$output"
    failures=$((failures + 1))
  else
    passes=$((passes + 1))
  fi
}

if [ "$kind" = linux ]; then
  settings=(--registry "$work/registry.reg")
else
  settings=()
fi
run=("${vekhost[@]}" "${settings[@]}")

for example in box:100X50X20 cylinder:Ø30X120 note-update:250X120X12; do
  name=${example%%:*} note=${example#*:}
  check "$name" 0 "^note: $note " -- "${run[@]}" --reset-settings "$examples/$name.json" "$examples/$name.events"
  check "$name svg" 0 "<text[^>]*>$note</text>" -- cat "$name.svg"
  check "$name json" 0 "\"text\": \"${note/Ø/\\\\ue000}\"" -- cat "$name.result.json"
done
check "journal" 0 'host: VekCtlSetExecuteFunc\(exec#[0-9]+, "%f %f"' -- \
  "${run[@]}" --journal "$examples/box.json" "$examples/box.events"
check "settings" 0 'Round = "4"' -- "${run[@]}" --settings

# Faults in files: one line naming the file and the place; nothing runs.
check "syntax" 2 '^vekhost: .*bad-syntax.json:3:[0-9]+: parse error' -- "${run[@]}" "$here/bad-syntax.json"
check "unknown field" 2 'bad-field.json: /dimensions/0/decimal: unknown field' -- "${run[@]}" "$here/bad-field.json"
check "field type" 2 'bad-type.json: /dimensions/0/measure: expected a number' -- "${run[@]}" "$here/bad-type.json"
check "dimension type" 2 'bad-dimension-type.json: /dimensions/0/type: expected a dimension type' -- "${run[@]}" "$here/bad-dimension-type.json"
check "name twice" 2 'twice.json: /notes/0/name: "a" is used twice' -- "${run[@]}" "$here/twice.json"
check "missing file" 2 'nothing.json: cannot be read' -- "${run[@]}" "$work/nothing.json"
check "unknown element" 2 'unknown-element.events:2: the drawing has no element "depth"' -- "${run[@]}" "$examples/box.json" "$here/unknown-element.events"
check "unknown event" 2 'unknown-event.events:2: unknown event "click"' -- "${run[@]}" "$examples/box.json" "$here/unknown-event.events"
check "bad option" 2 '^vekhost: .*--frobnicate.*\(see vekhost --help\)$' -- "${run[@]}" --frobnicate
check "no drawing" 2 '^vekhost: no drawing given' -- "${run[@]}"
check "help" 0 'Exit status' -- "${run[@]}" --help
check "no plug-in" 1 '^vekhost: ' -- "${run[@]}" --plugin "$work/none" "$examples/box.json" "$examples/box.events"

# Typed events: piped in, and at a terminal.
check "piped" 0 '^note: 100X50X20 ' -- bash -c \
  'printf "pick width\npick depth\npick length\nkeyin 20\nend\npoint 1 1\nquit\n" | "$@"' _ \
  "${run[@]}" "$examples/box.json"
check "piped error" 0 'line 2: the drawing has no element "depth"' -- bash -c \
  'printf "pick width\npick depth\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"

if [ "$kind" = linux ]; then
  check "terminal" 0 'note: 100X50X20 ' -- bash -c \
    'printf "pick width\rpick length\rkeyin 20\rpoint 1 1\rquit\r" | script -qefc "$*" /dev/null' _ \
    "${run[@]}" "$examples/box.json"
  # A registry file that cannot be read is reported and left alone.
  printf 'not a registry\n' >broken.reg
  check "broken registry" 2 'broken.reg:1: expected the header.*left as it is' -- \
    "${vekhost[@]}" --registry broken.reg "$examples/box.json" "$examples/box.events"
  check "broken registry kept" 0 '^not a registry$' -- cat broken.reg
fi

# The settings dialog, played from a script; the real one under Wine needs a screen.
check "dialog" 0 '^note: BOX 100.00\*50.00\*20.00 ' -- env WINE_RUN_SCREEN=1 \
  "${run[@]}" --reset-settings "$examples/box.json" "$examples/settings.events"
check "dialog form" 0 'round: 0=0 1=1 2=\[2\] 3=3 4=치수값 그대로' -- env WINE_RUN_SCREEN=1 \
  bash -c 'printf "end\nend\ndialog click cancel\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"
check "dialog outside" 0 'no dialog is open' -- bash -c \
  'printf "dialog click ok\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"
check "dialog action" 2 'bad-dialog.events:3: dialog select: expected one of round, frame-dim' -- \
  "${run[@]}" "$examples/box.json" "$here/bad-dialog.events"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
