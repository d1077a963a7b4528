#!/bin/sh
# Share of a core the game uses standing still in its main menu, windowed, on
# SDL's window-less video driver, where every frame goes through the software
# renderer as on a machine without a GPU driver.
# Usage: bench/menu_idle.sh GAME_BINARY DATA_FOLDER [SECONDS]
# Prints: menu_idle <binary> cpu_share=<cores> rss_mb=<resident MB>
set -eu
game=$1 data=$2 seconds=${3:-10}
dir=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$dir"' EXIT
cp "$game" "$dir/korvamo"
cp -r "$data" "$dir/data"
mkdir -p "$dir/data/prf"
printf '\000\r\n' > "$dir/data/prf/Bench"            # a profile: the game opens in the main menu
printf '\001\r\n\000\r\n\000\r\n' > "$dir/data/main.cfg"   # windowed, music on
# The game copies them into its player's folder on first start; older games
# read them where they are and ignore the option.
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$dir/korvamo" --player-dir "$dir/player" >/dev/null 2>&1 &
pid=$!
ticks=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
sleep 2                                               # past loading
start=$(cpu)
sleep "$seconds"
end=$(cpu)
rss=$(awk '/VmRSS/ { print int($2 / 1024) }' "/proc/$pid/status")
echo "menu_idle $game cpu_share=$(awk "BEGIN { printf \"%.3f\", ($end - $start) / $ticks / $seconds }") rss_mb=$rss"
