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
# vekhost's own texts follow the locale: English here unless a row says.
unset LC_ALL LANGUAGE
export LC_MESSAGES=C

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
  check "$name svg" 0 "<t(ext|span)[^>]*>$note</t(ext|span)>" -- cat "$name.svg"
  check "$name json" 0 "\"text\": \"${note/Ø/\\\\ue000}\"" -- cat "$name.result.json"
  check "$name json readable" 0 "\"readable\": \"$note\"" -- cat "$name.result.json"
done
# Korean when the locale's messages are Korean, --lang over the locale; the
# plug-in's own texts as they are in both.
korean=(env LC_MESSAGES=ko_KR.UTF-8)
check "Korean note line" 0 '^주기: 100X50X20  \(새 주기, 표제프레임의 31, 12\)$' -- \
  "${korean[@]}" "${run[@]}" "$examples/box.json" "$examples/box.events"
check "Korean session" 0 '^명령 가로x세로x높이 시작$' -- "${korean[@]}" "${run[@]}" "$examples/box.json" "$examples/box.events"
check "Korean prompt label" 0 '^  프롬프트: 가로치수선택 : \(종료버튼:Dialog\)$' -- \
  "${korean[@]}" "${run[@]}" "$examples/box.json" "$examples/box.events"
check "English prompt label" 0 '^  prompt: 가로치수선택 : \(종료버튼:Dialog\)$' -- \
  "${run[@]}" "$examples/box.json" "$examples/box.events"
check "--lang en over a Korean locale" 0 '^note: 100X50X20 ' -- \
  "${korean[@]}" "${run[@]}" --lang en "$examples/box.json" "$examples/box.events"
check "--lang ko" 0 '^주기: 100X50X20 ' -- "${run[@]}" --lang=ko "$examples/box.json" "$examples/box.events"
check "Korean error" 2 '^vekhost: 도면이 주어지지 않았습니다 \(vekhost --help 참고\)$' -- "${korean[@]}" "${run[@]}"
check "Korean help" 0 '^  end                    종료버튼$' -- "${korean[@]}" "${run[@]}" --help
check "Korean script error" 2 'bad-dialog.events:3: dialog select: 다음 중 하나가 와야 합니다: round, frame-dim' -- \
  "${korean[@]}" "${run[@]}" "$examples/box.json" "$here/bad-dialog.events"
check "unknown language" 2 "^vekhost: --lang: jp not in \{ko,en\}" -- "${run[@]}" --lang jp "$examples/box.json"

# A diameter whose prefix is the host's own diameter code: one sign, with the
# dimension's texts (Round 4) and in Round places (Round 0).
printf '{"dimensions": [{"name": "d", "measure": 30, "mark": 2, "prefix": "\\u001c!", "noteResult": 1}, {"name": "h", "type": 13, "measure": 120}]}' >coded.json
printf 'pick d\npick h\npoint 30 12\n' >coded.events
printf 'end\ndialog select round 0\ndialog click ok\npick d\npick h\npoint 30 12\n' >coded0.events
check "diameter code" 0 '^note: Ø30X120 ' -- "${run[@]}" --reset-settings coded.json coded.events
check "diameter code json" 0 '"readable": "Ø30X120"' -- cat coded.result.json
check "diameter code svg" 0 '<t(ext|span)[^>]*>Ø30X120</t(ext|span)>' -- cat coded.svg
check "diameter code, Round 0" 0 '^note: Ø30X120 ' -- env WINE_RUN_SCREEN=1 "${run[@]}" --reset-settings coded.json coded0.events
check "old text struck through" 0 'line-through">SIZE: TBD</tspan> <tspan fill="#e07b00">250X120X12</tspan>' -- cat note-update.svg
check "picture scales" 0 '^<svg xmlns="http://www.w3.org/2000/svg" viewBox="[-0-9. ]+" font-family' -- cat box.svg

# A drawing of names and measures alone: the dimensions in rows, none on
# another; the title frame in the figure frame's lower right corner.
printf '{"dimensions": [{"name": "w", "measure": 100}, {"name": "l", "type": 13, "measure": 50}, {"name": "h", "type": 13, "measure": 20}]}' >minimal.json
printf 'pick w\npick l\npick h\npoint 30 12\n' >minimal.events
check "minimal drawing" 0 '^note: 100X50X20 ' -- "${run[@]}" minimal.json minimal.events
check "dimensions apart" 0 '^3$' -- bash -c 'grep -o "<line x1=\"10\" y1=\"[0-9.]*\"" minimal.svg | sort -u | wc -l'
check "title frame inside" 0 '<rect x="207" y="180" width="90" height="40" fill="none"' -- cat minimal.svg
printf 'end\ndialog type prefix 📐 \ndialog click ok\npick width\nkeyin 50📐\nkeyin 20\npoint 1 1\n' >emoji.events
check "beyond the plane" 0 '^note: 📐 100X50📐X20 ' -- env WINE_RUN_SCREEN=1 "${run[@]}" --reset-settings "$examples/box.json" emoji.events
"${run[@]}" --reset-settings >/dev/null
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
check "quit ends the events" 0 '^stopped there$' -- bash -c \
  'printf "quit\npick width\n" | "$@" | grep -q "세로치수선택" || echo "stopped there"' _ "${run[@]}" "$examples/box.json"
check "piped error" 0 'line 2: the drawing has no element "depth"' -- bash -c \
  'printf "pick width\npick depth\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"

# A person's mistakes: folders for files, numbers beyond reach, unwritable
# outputs. One line each, nothing stored or written.
mkdir -p folder
printf '{"dimensions": [{"name": "w", "type": 12, "measure": 1e400}]}' >huge.json
printf 'pick width\nmotion inf 2\n' >infinite.events
printf 'point 0x10 12\n' >hex.events
printf 'end\ndialog select round 9\n' >round9.events
printf 'file\n' >afile
check "drawing folder" 2 '^vekhost: folder: is a folder, not a file$' -- "${run[@]}" folder
check "script folder" 2 '^vekhost: folder: is a folder, not a file$' -- "${run[@]}" "$examples/box.json" folder
check "huge measure" 2 '^vekhost: huge.json:1:54: the number 1e400 is out of range$' -- "${run[@]}" huge.json
check "infinite point" 2 '^vekhost: infinite.events:2: expected a number for x, not "inf"$' -- "${run[@]}" "$examples/box.json" infinite.events
check "hexadecimal point" 2 '^vekhost: hex.events:1: expected a number for x, not "0x10"$' -- "${run[@]}" "$examples/box.json" hex.events
check "swapped files" 2 '^vekhost: .*box.events: is not a drawing .*: a script\? The drawing comes first' -- "${run[@]}" "$examples/box.events" "$examples/box.json"

# A settings file edited by hand: each value's meaning, a misspelt name and
# a character size no one would see are said.
if [ "$kind" = linux ]; then
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Quorvane\\VEK\\TriSpan]\r\n"MTitel"="*"\r\n"Height"="0"\r\n"FrameDim"="7"\r\n"Round"="4"\r\n' >hand.reg
  check "settings' meanings" 0 '^  Round = "4"  \(the list.s "치수값 그대로"\)$' -- "${vekhost[@]}" --registry hand.reg --settings
  check "settings' list beyond" 0 '^  FrameDim = "7"  \(no item of the list, which has 0 to 2\)$' -- "${vekhost[@]}" --registry hand.reg --settings
  check "misspelt setting" 0 '^  "MTitel": no setting has this name' -- "${vekhost[@]}" --registry hand.reg --settings
  check "misspelt setting at the start" 0 '^warning: the settings hold "MTitel", which no setting is named' -- "${vekhost[@]}" --registry hand.reg "$examples/box.json" "$examples/box.events"
  check "character size 0" 0 '^warning: the stored Height "0" gives notes of no size' -- "${vekhost[@]}" --registry hand.reg "$examples/box.json" "$examples/box.events"
fi

# Files as Windows tools save them: UTF-8 with its mark and UTF-16 read, the
# Korean code page refused with what to do.
printf '\xef\xbb\xbf# Notepad\r\npick width\r\npick length\r\npick height\r\npoint 30 12\r\n' >marked.events
python3 -c 'import sys; open("wide.events", "wb").write(open(sys.argv[1], encoding="utf-8").read().encode("utf-16"))' "$examples/box.events"
printf '{"notes": [{"name": "\xb0\xa1", "at": [1, 1]}]}' >ansi.json
check "script with a byte-order mark" 0 '^note: 100X50X20 ' -- "${run[@]}" "$examples/box.json" marked.events
check "UTF-16 script" 0 '^note: 100X50X20 ' -- "${run[@]}" "$examples/box.json" wide.events
check "code page 949 drawing" 2 '^vekhost: ansi.json: is in the Korean Windows code page \(CP949, "ANSI"\), not UTF-8: save it as UTF-8' -- "${run[@]}" ansi.json
check "code page 949 drawing, in Korean" 2 '^vekhost: ansi.json: UTF-8이 아니라 한국어 Windows 코드 페이지\(CP949, "ANSI"\)로 되어 있습니다: UTF-8로 저장하십시오' -- \
  env LC_MESSAGES=ko_KR.UTF-8 "${run[@]}" ansi.json
check "list position" 2 'round9.events:2: dialog select round: expected a position from 0 to 4$' -- "${run[@]}" "$examples/box.json" round9.events
check "unwritable picture" 3 '^vekhost: afile/box.svg: cannot be written: afile is not a folder$' -- "${run[@]}" --json first.json --svg afile/box.svg "$examples/box.json" "$examples/box.events"
check "nothing run" 0 '^not there$' -- bash -c '[ -e first.json ] || echo "not there"' 
check "folder as result" 3 '^vekhost: folder: is a folder, not a file$' -- "${run[@]}" --json folder "$examples/box.json" "$examples/box.events"

# Outputs never name an input, nor each other; nothing runs then.
cp "$examples/box.json" mybox.json
cp "$examples/box.events" mybox.events
cp "$examples/box.json" plan.svg
ln -s mybox.json linked.json
check "json over the drawing" 2 '^vekhost: the result file mybox.json is the drawing: vekhost never writes over its input \(--json names another file\)$' -- \
  "${run[@]}" --json mybox.json mybox.json mybox.events
check "svg over the drawing by a link" 2 '^vekhost: the picture linked.json is the drawing' -- \
  "${run[@]}" --svg linked.json mybox.json mybox.events
check "json over the script" 2 'the result file mybox.events is the script' -- \
  "${run[@]}" --json mybox.events mybox.json mybox.events
check "the default picture over the drawing" 2 '^vekhost: the picture plan.svg is the drawing: vekhost never writes over its input \(--svg names another file\)$' -- \
  "${run[@]}" plan.svg mybox.events
check "two outputs, one file" 2 '^vekhost: the result file out.x and the picture ./out.x are one file \(--json or --svg names another\)$' -- \
  "${run[@]}" --json out.x --svg ./out.x mybox.json mybox.events
check "inputs untouched" 0 '^same$' -- bash -c 'cmp -s mybox.json "$1" && cmp -s plan.svg "$1" && [ ! -e out.x ] && echo same' _ "$examples/box.json"

# The interactive helps: names, the preview, a note as soon as written, a
# dialog open until OK or Cancel, the Korean texts explained.
check "names" 0 '^  width: dimension \(type 12\), measure 100$' -- bash -c \
  'printf "names\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"
check "preview" 0 '^  preview: 100X50X20 at 21, 12$' -- bash -c \
  'printf "pick width\npick length\npick height\nmotion 20 12\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"
check "note at once" 0 '^  note written: 100X50X20  \(new, at 31, 12 in the title frame\)$' -- \
  "${run[@]}" "$examples/box.json" "$examples/box.events"
check "dialog stays open" 0 'the settings dialog is open: dialog click ok or dialog click cancel closes it' -- \
  env WINE_RUN_SCREEN=1 bash -c 'printf "end\npick width\ndialog click cancel\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"
check "show again" 0 '^  dialog: 가로x세로x높이$' -- env WINE_RUN_SCREEN=1 bash -c \
  'printf "end\nshow\ndialog click cancel\nquit\n" | "$@" | grep -A1 "^> show"' _ "${run[@]}" "$examples/box.json"
check "help explains" 0 '잘못된 지시\. +this step does not take that kind of indication' -- bash -c \
  'printf "help\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"

if [ "$kind" = win64 ]; then
  check "serve on Windows" 2 '^vekhost: --serve is a feature of the Linux build of vekhost$' -- \
    "${run[@]}" --serve "$examples/box.json"
else
  check "serve with a script" 2 '^vekhost: --serve takes the events from the browser: no script with it$' -- \
    "${run[@]}" --serve "$examples/box.json" "$examples/box.events"
fi

if [ "$kind" = linux ]; then
  # Settings files: empty ones are an empty registry; a folder, or one that
  # cannot be written, is said so.
  for content in '' '\xff\xfe' '\n' '\xef\xbb\xbf  \r\n\t\n'; do
    printf "$content" >empty.reg
    check "empty settings file '$content'" 0 'none stored yet' -- "${vekhost[@]}" --registry empty.reg --settings
  done
  check "settings folder" 2 '^vekhost: --registry folder: is a folder, not a file$' -- "${vekhost[@]}" --registry folder --settings
  check "settings folder kept" 0 '^folder$' -- bash -c 'ls -d folder && [ ! -e folder.bak ]'
  check "settings folder not reset" 2 '^vekhost: --registry folder: is a folder, not a file$' -- "${vekhost[@]}" --registry folder --reset-settings
  check "settings in a file's place" 2 '^vekhost: --registry afile/registry.reg: afile is not a folder \(nothing was created\)$' -- \
    "${vekhost[@]}" --registry afile/registry.reg "$examples/box.json" "$examples/settings.events"
  check "settings in a missing folder" 2 '^vekhost: --registry missing/dir/r.reg: missing/dir does not exist \(nothing was created\)$' -- \
    "${vekhost[@]}" --registry missing/dir/r.reg --settings
  check "missing folder not made" 0 '^not there$' -- bash -c '[ -e missing ] || echo "not there"'
  check "default folder made" 0 'vekhost/registry.reg' -- bash -c \
    'HOME=$PWD/home XDG_CONFIG_HOME= "$@" "$0/box.json" "$0/box.events" >/dev/null && ls home/.config/vekhost/registry.reg' \
    "$examples" "${vekhost[@]}"
  check "changed settings named" 0 '^settings other than the defaults: Round "2", MTitle "\*", PreComment "BOX " \(vekhost --reset-settings' -- \
    bash -c '"$@" "$0/settings.events" >/dev/null && "$@" "$0/box.events"' "$examples" \
    "${vekhost[@]}" --registry changed.reg "$examples/box.json"
  check "terminal" 0 'note: 100X50X20 ' -- bash -c \
    'printf "pick width\rpick length\rkeyin 20\rpoint 1 1\rquit\r" | script -qefc "$*" /dev/null' _ \
    "${run[@]}" "$examples/box.json"
  check "terminal in Korean" 0 '^이벤트를 입력하십시오 \(help: 목록, quit: 끝\)\.$' -- env LC_MESSAGES=ko_KR.UTF-8 bash -c \
    'printf "pick width\rpick length\rkeyin 20\rpoint 1 1\rquit\r" | script -qefc "$*" /dev/null' _ \
    "${run[@]}" "$examples/box.json"
  # Korean typed at a terminal reaches the plug-in whole, whatever the locale.
  for locale in C C.UTF-8; do
    rm -f typed.reg
    check "typed Korean, $locale locale" 0 '^note: 박스-100X50미리X20 ' -- env LC_ALL=$locale bash -c \
      'printf "end\rdialog type prefix 박스-\rdialog click ok\rpick width\rkeyin 50미리\rkeyin 20\rpoint 1 1\rquit\r" | script -qefc "$*" /dev/null' _ \
      "${vekhost[@]}" --registry typed.reg "$examples/box.json"
    check "typed Korean stored, $locale locale" 0 'PreComment = "박스-"' -- "${vekhost[@]}" --registry typed.reg --settings
  done
  # Control characters from a file are shown escaped, never sent raw.
  printf '\x1b[2J\xc2\x9bbroken\n' >escape.reg
  check "control characters shown" 2 'escape.reg:1: expected the header: \\x1b\[2J\\x9bbroken' -- \
    "${vekhost[@]}" --registry escape.reg --settings
  check "control characters not sent" 0 '^clean$' -- bash -c \
    '"$@" 2>&1 | LC_ALL=C grep -q $'"'"'\x1b\|\xc2\x9b'"'"' || echo clean' _ "${vekhost[@]}" --registry escape.reg --settings
  # A registry file that cannot be read is reported and left alone.
  printf 'not a registry\n' >broken.reg
  check "broken registry" 2 'broken.reg:1: expected the header.*left as it is' -- \
    "${vekhost[@]}" --registry broken.reg "$examples/box.json" "$examples/box.events"
  check "broken registry kept" 0 '^not a registry$' -- cat broken.reg
  check "broken registry remedy" 2 'vekhost --reset-settings keeps it as a .bak file' -- \
    "${vekhost[@]}" --registry broken.reg --settings
  check "broken registry reset" 0 'kept as broken.reg.bak$' -- "${vekhost[@]}" --registry broken.reg --reset-settings
  check "broken registry backup" 0 '^not a registry$' -- cat broken.reg.bak
  printf 'broken again\n' >broken.reg
  check "second backup" 0 'kept as broken.reg.bak.2$' -- "${vekhost[@]}" --registry broken.reg --reset-settings
  check "first backup kept" 0 '^not a registry$' -- cat broken.reg.bak
  check "reset registry usable" 0 '^note: 100X50X20 ' -- "${vekhost[@]}" --registry broken.reg "$examples/box.json" "$examples/box.events"
else
  printf 'end\ndialog click ok\n' >dialog.events
  check "dialog without display" 0 'the settings dialog could not be shown \(no display\?\): nothing changed' -- \
    env -u DISPLAY "${vekhost[@]}" "$examples/box.json" dialog.events
  check "registry option" 2 '^vekhost: --registry: the Windows build keeps the settings in the Windows registry' -- \
    "${vekhost[@]}" --registry some.reg --settings
  # Korean typed at a console and shown there, under Wine in a UTF-8 terminal.
  check "Korean at the console" 0 '^  note written: 100X50미리X20 ' -- env LC_ALL=C.UTF-8 \
    bash "$here/type-at-console.sh" $'pick width\nkeyin 50미리\nkeyin 20\npoint 1 1\nquit\n' \
    "${vekhost[@]}" --reset-settings "$examples/box.json"
fi

# The settings dialog, played from a script; the real one under Wine needs a screen.
check "dialog" 0 '^note: BOX 100.00\*50.00\*20.00 ' -- env WINE_RUN_SCREEN=1 \
  "${run[@]}" --reset-settings "$examples/box.json" "$examples/settings.events"
check "dialog form" 0 'round: 0=0 1=1 2=\[2\] 3=3 4=치수값 그대로' -- env WINE_RUN_SCREEN=1 \
  bash -c 'printf "end\nend\ndialog click cancel\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"
# Every setting's control also goes by its registry name.
check "dialog by registry names" 0 '^note: 100.0=50.0=20.0 ' -- env WINE_RUN_SCREEN=1 bash -c \
  'printf "end\ndialog type MTitle =\ndialog click Font-1\ndialog select Round 1\nshow\ndialog click ok\npick width\nkeyin 50\nkeyin 20\npoint 1 1\nquit\n" | "$@"' \
  _ "${run[@]}" --reset-settings "$examples/box.json"
check "dialog outside" 0 'no dialog is open' -- bash -c \
  'printf "dialog click ok\nquit\n" | "$@"' _ "${run[@]}" "$examples/box.json"
check "dialog action" 2 'bad-dialog.events:3: dialog select: expected one of round, frame-dim' -- \
  "${run[@]}" "$examples/box.json" "$here/bad-dialog.events"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
