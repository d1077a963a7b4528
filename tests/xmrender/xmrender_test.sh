#!/bin/sh
# xmrender from the outside: clear refusals, a WAV written as it renders, one
# pass of a looping song by default, --loops and --seconds, and (outside the
# sanitizer builds) an hour's render in little memory.
# Usage: xmrender_test.sh XMRENDER SONG.xm CHECK_MEMORY(0|1)
set -u
xmrender=$1 song=$2 check_memory=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect_refusal EXPECTED_TEXT ARGS...: exit status 1 and the text on stderr.
expect_refusal() {
    want=$1
    shift
    "$xmrender" "$@" > "$dir/out.txt" 2> "$dir/err.txt"
    status=$?
    [ "$status" -eq 1 ] || fail "$* exited $status, not 1"
    grep -qF "$want" "$dir/err.txt" || fail "$*: wanted \"$want\", got \"$(cat "$dir/err.txt")\""
}

size() { wc -c < "$1" | tr -d ' '; }
# The data size the header gives, bytes 40..43 little-endian.
header_data() { od -An -tu4 -j40 -N4 "$1" | tr -d ' '; }

expect_refusal "cannot open $dir/missing.xm: No such file or directory" "$dir/missing.xm" "$dir/o.wav"
expect_refusal "cannot open $dir: Is a directory" "$dir" "$dir/o.wav"
printf 'RIFF, not a song' > "$dir/text.xm"
expect_refusal "is refused: not an XM file" "$dir/text.xm" "$dir/o.wav"
expect_refusal "do not fit in a WAV file" "$song" "$dir/o.wav" --seconds 30000
expect_refusal "cannot write $dir/no/such/o.wav" "$song" "$dir/no/such/o.wav"
[ -e "$dir/o.wav" ] && fail "a refused render left $dir/o.wav"
"$xmrender" "$song" "$dir/o.wav" --loops -1 2> /dev/null
[ $? -eq 2 ] || fail "--loops -1 is no usage error"

# One pass, two passes, a fixed time: sizes and headers agree.
"$xmrender" "$song" "$dir/one.wav" || fail "one pass"
"$xmrender" "$song" "$dir/two.wav" --loops 1 || fail "two passes"
"$xmrender" "$song" "$dir/five.wav" --seconds 5 || fail "five seconds"
one=$(size "$dir/one.wav") two=$(size "$dir/two.wav") five=$(size "$dir/five.wav")
[ "$one" -gt 44 ] || fail "one pass is empty ($one bytes)"
[ "$two" -gt "$one" ] && [ "$two" -le $((2 * one)) ] || fail "two passes take $two bytes, one $one"
[ "$five" -eq $((5 * 48000 * 4 + 44)) ] || fail "five seconds take $five bytes"
for f in one two five; do
    [ "$(header_data "$dir/$f.wav")" -eq $(($(size "$dir/$f.wav") - 44)) ] || fail "$f.wav: the header's data size is wrong"
done
# The first pass of two is the one pass, byte for byte.
tail -c +45 "$dir/one.wav" > "$dir/a.pcm"
tail -c +45 "$dir/two.wav" | head -c $((one - 44)) > "$dir/b.pcm"
cmp -s "$dir/a.pcm" "$dir/b.pcm" || fail "the first of two passes differs from one pass"

if [ "$check_memory" = 1 ]; then
    peak=$( { /usr/bin/time -f '%M' "$xmrender" "$song" /dev/null --seconds 3600 > /dev/null; } 2>&1 | tail -n 1)
    [ "$peak" -lt 65536 ] || fail "an hour's render peaks at $peak KiB"
fi

[ "$failures" -eq 0 ] && echo "xmrender: all checks pass"
[ "$failures" -eq 0 ]
