#!/bin/bash
# Types lines into a program at a terminal (a tmux pane) as a person does:
# each once the pane shows one more ">" prompt than before; then prints the
# pane. A program still running after a minute is stopped.
#   type-at-console.sh LINES COMMAND...   (LINES: the lines, each ending in \n)
set -uo pipefail
lines=$1
shift
session=typed-$$
socket=$(mktemp -u)
trap 'tmux -S "$socket" kill-server 2>/dev/null; rm -f "$socket"' EXIT
tmux -S "$socket" new-session -d -s "$session" -x 200 -y 50 "$(printf '%q ' "$@"); sleep 2"
prompts() { tmux -S "$socket" capture-pane -p -t "$session" -S - | grep -cE '^>( |$)'; }
asked=0
while IFS= read -r line; do
  for _ in $(seq 600); do
    [ "$(prompts)" -gt "$asked" ] && break
    sleep 0.1
  done
  asked=$((asked + 1))
  sleep 0.3
  tmux -S "$socket" send-keys -t "$session" -l "$line"
  tmux -S "$socket" send-keys -t "$session" Enter
done <<<"${lines%$'\n'}"
for _ in $(seq 600); do
  tmux -S "$socket" has-session -t "$session" 2>/dev/null || break
  shown=$(tmux -S "$socket" capture-pane -p -t "$session" -S -)
  grep -q '^drawing: ' <<<"$shown" && break
  sleep 0.1
done
tmux -S "$socket" capture-pane -p -t "$session" -S -
