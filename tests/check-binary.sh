#!/bin/bash
# Checks the built plug-in's binary interface: it exports Startup and
# nothing else, imports from the host library only the functions that
# host/VekLib.def lists, and otherwise only from the system's own libraries.
#   check-binary.sh win64 TriSpan.dll VekLib.def
#   check-binary.sh linux TriSpan.so VekLib.def
set -euo pipefail
kind=$1 binary=$2 def=$3
host_functions=$(grep -E '^\s+Vek' "$def" | tr -d ' \t\r' | sort)
fail() { echo "FAIL: $*"; exit 1; }

if [ "$kind" = win64 ]; then
  dump=$(x86_64-w64-mingw32-objdump -p "$binary")
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | awk 'NR > 1 && NF {print $NF}')
  dlls=$(awk '/DLL Name:/ {print $3}' <<<"$dump" | sort)
  allowed='^(VekLib|KERNEL32|ADVAPI32|USER32|GDI32|COMCTL32|msvcrt)\.dll$'
  grep -qvE "$allowed" <<<"$dlls" && fail "imports from $(grep -vE "$allowed" <<<"$dlls" | tr '\n' ' ')"
  imported=$(awk '/DLL Name:/ {dll = $3} dll == "VekLib.dll" && $1 ~ /^[0-9a-f]+$/ && NF == 3 {print $3}' <<<"$dump" | sort)
else
  exports=$(nm -D --defined-only "$binary" | awk '{print $3}')
  imported=$(nm -D --undefined-only "$binary" | awk '$2 ~ /^Vek/ {print $2}' | sort)
  needed=$(objdump -p "$binary" | awk '/NEEDED/ {print $2}')
  grep -qE 'VekLib' <<<"$needed" && fail "the plug-in names a host library: $needed"
fi

[ "$exports" = Startup ] || fail "exports: $(echo $exports)"
[ -n "$imported" ] || fail "imports nothing from the host library"
extra=$(comm -23 <(echo "$imported") <(echo "$host_functions"))
[ -z "$extra" ] || fail "imports host functions that VekLib.def does not list: $extra"
echo "$binary: exports Startup alone; imports $(wc -l <<<"$imported") host functions"
