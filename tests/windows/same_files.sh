#!/bin/sh
# The same sessions on the Linux and the Windows harness write the same bytes:
# a new profile, the settings, a tournament race's results and a track saved
# in the editor, each in a player's folder of its own.
# Usage: same_files.sh LINUX_HARNESS WINDOWS_HARNESS DATA SCRIPT...
# KORVAMO_RUN runs the Windows harness (wine).
set -u
linux=$1 windows=$2 data=$3
shift 3
rm -rf same-linux same-windows
for script in "$@"; do
    "$linux" --data "$data" --player same-linux --seed 1 "$script" > /dev/null || { echo "FAIL: $script on Linux"; exit 1; }
    ${KORVAMO_RUN:-} "$windows" --data "$data" --player same-windows --seed 1 "$script" > /dev/null ||
        { echo "FAIL: $script on Windows"; exit 1; }
done
status=0
for f in main.cfg prf/Carol wld/edited1.wld; do
    [ -f "same-linux/$f" ] || { echo "FAIL: the sessions wrote no $f"; status=1; }
done
diff -r same-linux same-windows || { echo "FAIL: the Windows build wrote other files or bytes"; status=1; }
[ $status = 0 ] && echo "same files: $(cd same-linux && find . -type f | sort | tr '\n' ' ')"
exit $status
