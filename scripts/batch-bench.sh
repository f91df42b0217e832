#!/usr/bin/env bash
# The batch run's speed in the stand-in host: lumora-sim runs "Add tags for
# all players" over generated bases of 10,000 and 100,000 games whose names
# come from the generated FIDE list of 1.9 million players (seed 7), against
# that list's players.dat. Most names are found clearly by a word search,
# one in ten by FIDE ID, none is asked about. For each run: the names per
# second of the run (the status window's time open) and the longest time the
# host's loop kept one message (the longest tick). The 10,000-game base runs
# again with one name per timer tick, and both saved bases must be the same.
# Figures in docs/performance.md. Usage: scripts/batch-bench.sh [GAMES...]
# (default 10000 100000); the data is kept in build/batchbench.
set -euo pipefail
. "$(dirname "$0")/common.sh"
sizes=("$@"); [ ${#sizes[@]} -eq 0 ] && sizes=(10000 100000)

win=$build/win32
data=$build/batchbench
if [ -z "${BATCH_BENCH_IN_SESSION:-}" ]; then
  "$root/scripts/setup.sh"
  "$root/scripts/build.sh" win32
  # Only the list generator and the players tool of the native configuration.
  if [ ! -f "$build/native/build.ninja" ]; then
    cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      >"$build/native.configure.log" 2>&1
  fi
  cmake --build "$build/native" --target fidegen players -- --quiet

  mkdir -p "$data"
  list=$data/fide_1900000_seed7.txt
  [ -f "$list" ] || "$build/native/tools/fidegen" --players 1900000 --seed 7 "$list"
  [ -f "$data/players.dat" ] || "$build/native/tools/players" import "$list" "$data/players.dat" >/dev/null
  exec env BATCH_BENCH_IN_SESSION=1 "$root/scripts/wine-session.sh" "$win" "$0" "$@"
fi

cat >"$data/batch.script" <<'EOF'
# One batch run over the base named by BENCH_BASE; no name may ask.
timeout 3600
open ${BENCH_BASE}
menu Tools > More about players > Add tags for all players
wait-closed Add information about players...
save tagged.pgn
EOF

# Runs the batch over a base in a fresh folder; prints "seconds busy_ms
# gap_ms" from lumora-sim's loop times.
run() {  # base folder [environment...]
  local base=$1 dir=$2; shift 2
  rm -rf "$dir"; mkdir -p "$dir/plugins"
  cp "$win/bin/lumora-sim.exe" "$dir/"
  cp "$win/bin/plugins/Velmarsh.dll" "$data/players.dat" "$dir/plugins/"
  (cd "$dir" && env BENCH_BASE="$base" "$@" nice "$win/wine-run" lumora-sim.exe \
     --script "$data/batch.script" --timeout 0 --loop-times 2>loop.txt >/dev/null)
  sed -n 's/.*"Add information about players..." was open: \([0-9.]*\) s .*longest busy \([0-9.]*\) ms.*longest gap \([0-9.]*\) ms.*/\1 \2 \3/p' \
    "$dir/loop.txt"
}

# Distinct player names of a base, as the batch run lists them.
names() {
  python3 - "$1" <<'PY'
import re, sys
names = set()
for m in re.finditer(rb'^\[(White|Black) "((?:[^"\\]|\\.)*)"\]', open(sys.argv[1], 'rb').read(), re.M):
    name = re.sub(rb'\\(.)', rb'\1', m.group(2))
    if not name.startswith(b'Anonymous'):
        names.add(name)
print(len(names))
PY
}

report() {  # what names "seconds busy gap"
  read -r seconds busy gap <<<"$3"
  python3 -c "import sys; w,n,s,b,g=sys.argv[1],int(sys.argv[2]),float(sys.argv[3]),sys.argv[4],sys.argv[5]; \
print(f'{w}: {n} names in {s:.2f} s, {n/s:,.0f} names/s, {1000*s/n:.3f} ms a name; longest busy {b} ms, longest gap {g} ms')" \
    "$1" "$2" "$seconds" "$busy" "$gap"
}

declare -A rate
for games in "${sizes[@]}"; do
  base=$data/base_$games.pgn
  [ -f "$base" ] || "$win/wine-run" "$win/bin/batch-timing.exe" --players "$data/players.dat" \
    --write-base "$games" "$base" >/dev/null
  n=$(names "$base")
  figures=$(run "$base" "$data/run_$games")
  [ -n "$figures" ] || { echo "the run over $games games failed" >&2; exit 1; }
  report "$games games, budget 8 ms a tick" "$n" "$figures"
  rate[$games]=$(awk -v n="$n" '{print n / $1}' <<<"$figures")
done
# One name per tick, on the smallest base.
games=${sizes[0]}
base=$data/base_$games.pgn
n=$(names "$base")
figures=$(run "$base" "$data/run_${games}_one" VELMARSH_TICK_BUDGET_US=0)
[ -n "$figures" ] || { echo "the one-name-per-tick run failed" >&2; exit 1; }
report "$games games, one name a tick" "$n" "$figures"
one=$(awk -v n="$n" '{print n / $1}' <<<"$figures")
awk -v a="${rate[$games]}" -v b="$one" -v g="$games" \
  'BEGIN { printf "ratio on %s games: %.0f times the one-name-a-tick rate\n", g, a / b }'
if cmp -s "$data/run_$games/tagged.pgn" "$data/run_${games}_one/tagged.pgn"; then
  echo "saved bases of both runs identical ($(stat -c %s "$data/run_$games/tagged.pgn") bytes)"
else
  echo "the saved bases of the two runs differ" >&2
  exit 1
fi
