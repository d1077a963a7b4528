#!/bin/sh
# Installs the build into a scratch prefix and checks what a desktop expects:
# the game, its shipped data, the desktop entry, the icons and the AppStream
# metadata (both accepted by their validators); then, with the prefix made
# read-only, starts the installed game and plays a scripted first start from
# the installed data, each with the player's files in a folder of their own,
# and checks that the prefix was left exactly as installed.
# Usage: install_test.sh BUILD_DIR HARNESS SCRIPT
set -u
build=$1 harness=$2 script=$3
dir=$(mktemp -d)
prefix=$dir/prefix
trap 'chmod -R u+w "$dir"; rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" > "$dir/install.log" 2>&1 || { cat "$dir/install.log"; exit 1; }
for f in bin/korvamo share/korvamo/gfx/share/g_but.tga share/korvamo/wld/beach1.wld share/korvamo/sfx/menu.xm \
         share/applications/korvamo.desktop share/metainfo/io.github.korvamo.korvamo.metainfo.xml; do
    [ -e "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 24 32 48 64 128 256 512; do
    [ -s "$prefix/share/icons/hicolor/${size}x$size/apps/korvamo.png" ] || fail "no ${size}x$size icon"
done
for f in main.cfg prf rec; do
    [ -e "$prefix/share/korvamo/$f" ] && fail "the shipped data holds a player's $f"
done
desktop-file-validate "$prefix/share/applications/korvamo.desktop" || fail "desktop-file-validate refuses the entry"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.korvamo.korvamo.metainfo.xml" > "$dir/as.log" 2>&1 ||
    { cat "$dir/as.log"; fail "appstreamcli refuses the metadata"; }

chmod -R a-w "$prefix"
ls -lR "$prefix" > "$dir/before"
# The installed game finds its data from its own folder and quits on SIGTERM,
# saving its settings in the player's folder.
(cd / && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout -s TERM 5 "$prefix/bin/korvamo" --player-dir "$dir/home" \
    > "$dir/game.log" 2>&1)
[ -f "$dir/home/main.cfg" ] || { cat "$dir/game.log"; fail "the installed game saved no settings in the player's folder"; }
"$harness" --data "$prefix/share/korvamo" --player "$dir/player" "$script" || fail "the scripted session failed"
[ -f "$dir/player/prf/Alice" ] || fail "the profile did not land in the player's folder"
ls -lR "$prefix" | cmp -s - "$dir/before" || fail "the installed prefix changed"

[ "$failures" -eq 0 ] && echo "install: all checks pass"
[ "$failures" -eq 0 ]
