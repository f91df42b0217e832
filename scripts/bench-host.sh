#!/usr/bin/env bash
# How fast the stand-in host opens and saves a large base: lumora-sim under
# Wine opens the batch benchmark's base of 100,000 generated games and saves
# it again, side by side with `players tag` over the same file (the Windows
# build under Wine, and the native build), in one run, three rounds. The
# base and the players.dat come from scripts/batch-bench.sh's folder
# (build/batchbench), made here when missing. Figures in docs/performance.md.
# Usage: scripts/bench-host.sh [GAMES] (default 100000)
set -euo pipefail
. "$(dirname "$0")/common.sh"
games=${1:-100000}
win=$build/win32
data=$build/batchbench
if [ -z "${HOST_BENCH_IN_SESSION:-}" ]; then
  "$root/scripts/setup.sh"
  "$root/scripts/build.sh" win32
  if [ ! -f "$build/native/build.ninja" ]; then
    cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      >"$build/native.configure.log" 2>&1
  fi
  cmake --build "$build/native" --target fidegen players -- --quiet
  mkdir -p "$data"
  list=$data/fide_1900000_seed7.txt
  [ -f "$list" ] || "$build/native/tools/fidegen" --players 1900000 --seed 7 "$list"
  [ -f "$data/players.dat" ] || "$build/native/tools/players" import "$list" "$data/players.dat" >/dev/null
  exec env HOST_BENCH_IN_SESSION=1 "$root/scripts/wine-session.sh" "$win" "$0" "$@"
fi

base=$data/base_$games.pgn
[ -f "$base" ] || "$win/wine-run" "$win/bin/batch-timing.exe" --players "$data/players.dat" \
  --write-base "$games" "$base" >/dev/null
work=$data/host_$games
rm -rf "$work"; mkdir -p "$work/plugins"
cp "$win/bin/lumora-sim.exe" "$work/"
cat >"$work/open-save.script" <<EOF2
timeout 3600
open $base
save saved.pgn
EOF2

# Seconds of wall time of a command.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}

echo "base: $base ($(stat -L -c %s "$base") bytes, $games games)"
for round in 1 2 3; do
  host=$(cd "$work" && seconds "$win/wine-run" lumora-sim.exe --script open-save.script --timeout 0)
  [ -s "$work/saved.pgn" ] || { echo "lumora-sim saved nothing" >&2; exit 1; }
  tagwin=$(seconds "$win/wine-run" "$win/bin/players.exe" tag "$data/players.dat" "$base" -o "$work/tagged-win.pgn")
  tagnative=$(seconds "$build/native/tools/players" tag "$data/players.dat" "$base" -o "$work/tagged.pgn")
  awk -v r="$round" -v h="$host" -v w="$tagwin" -v n="$tagnative" 'BEGIN {
    printf "round %d: lumora-sim open + save %.2f s; players tag %.2f s under Wine, %.2f s native: %.1f and %.1f times\n",
           r, h, w, n, h / w, h / n }'
done
