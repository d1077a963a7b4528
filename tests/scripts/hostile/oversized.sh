#!/bin/sh
# Runs oversized.kvs in a copy of the data with the profile "Alice" and one
# huge field: country (main.cfg), records (rec/Alice) or kind (wld/beach1.wld).
#   oversized.sh HARNESS DATA FIELD PEAK_LIMIT_MIB
set -eu
harness=$1 data=$2 field=$3 limit=$4
here=$(cd "$(dirname "$0")" && pwd)
folder=e2e-oversized-$field
rm -rf "$folder" && cp -r "$data" "$folder" && mkdir -p "$folder/prf" "$folder/rec"
printf '\000\r\n' > "$folder/prf/Alice"
printf '\000\r\n\000\r\n\000\r\n\r\nAlice\r\n' > "$folder/main.cfg"
huge() { head -c "$1" /dev/zero | tr '\000' x; }
case $field in
country) { printf '\000\r\n\000\r\n\000\r\n'; huge 60000000; printf '\r\nAlice\r\n'; } > "$folder/main.cfg" ;;
records) { printf 'beach1 jeep 35612 143812\r\n'; huge 63000000; printf '\r\n'; } > "$folder/rec/Alice" ;;
kind) # The track's objects, then one whose kind is the huge line, then the waypoints.
      track=$folder/wld/beach1.wld
      count=$(head -n 1 "$track" | tr -d '\r')
      { printf '%s\r\n' $((count + 1)); sed -n "2,$((1 + 6 * count))p" "$track"; huge 60000000
        printf '\r\n0\r\n0\r\n0\r\n0\r\n0\r\n'; tail -n +$((2 + 6 * count)) "$track"; } > "$folder/huge.wld"
      mv "$folder/huge.wld" "$track" ;;
*) echo "oversized.sh: no field $field" >&2; exit 2 ;;
esac
sed "s/below 100/below $limit/" "$here/oversized.kvs" > "$folder.kvs"
${KORVAMO_RUN:-} "$harness" --keep "$folder" "$folder.kvs"
