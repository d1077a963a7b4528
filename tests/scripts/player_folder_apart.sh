#!/bin/sh
# Runs a script with the shipped data used in place (made read-only; root could
# still write, so its listing is compared too) and the player's files in a
# folder of their own; checks that the shipped data did not change and that
# each FILE landed in the player's folder only.
# Usage: player_folder_apart.sh HARNESS DATA SCRIPT NAME WITH_ALICE(0|1) FILE...
# KORVAMO_RUN, when set, runs the harness (wine for a Windows build).
set -u
harness=$1 data=$2 script=$3 name=$4 alice=$5
shift 5
shipped=$name-shipped player=$name-player
rm -rf "$shipped" "$player" && cp -r "$data" "$shipped" && chmod -R a-w "$shipped" || exit 1
ls -lR "$shipped" > "$shipped.before"
if [ "$alice" = 1 ]; then mkdir -p "$player/prf" && printf '\000\r\n' > "$player/prf/Alice"; fi
${KORVAMO_RUN:-} "$harness" --data "$shipped" --player "$player" "$script"
status=$?
ls -lR "$shipped" | cmp -s - "$shipped.before" || { echo "FAIL: the shipped data changed"; status=1; }
for f in "$@"; do
    [ -f "$player/$f" ] || { echo "FAIL: no $f in the player's folder"; status=1; }
    [ -e "$shipped/$f" ] && { echo "FAIL: $f in the shipped data"; status=1; }
done
chmod -R u+w "$shipped"
exit $status
