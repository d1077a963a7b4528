#!/bin/sh
# Two games on one profile at once: stale_game.kvs loads "Alice" and waits;
# meanwhile the tournament script wins a race on her profile; then the first
# opens the tournament screen, and the won race must still be on file.
#   run.sh HARNESS DATA TOURNAMENT_SCRIPT
set -eu
harness=$1 data=$2 tournament=$3
here=$(cd "$(dirname "$0")" && pwd)
folder=e2e-two-games
rm -rf "$folder" && cp -r "$data" "$folder" && mkdir -p "$folder/prf"
printf '\000\r\n' > "$folder/prf/Alice"
printf '\000\r\n\000\r\n\000\r\n\r\nAlice\r\n' > "$folder/main.cfg"
${KORVAMO_RUN:-} "$harness" --keep "$folder" "$here/stale_game.kvs" &
stale=$!
second=0
${KORVAMO_RUN:-} "$harness" --keep "$folder" "$tournament" || second=$?
touch "$folder/second-game-done"
first=0
wait "$stale" || first=$?
[ "$second" -eq 0 ] && [ "$first" -eq 0 ]
