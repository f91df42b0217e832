#!/usr/bin/env bash
# The rating history on 12 generated monthly lists of 1.9 million players in
# the combined layout (seed 7, a tenth of the ratings changing each month):
# each month's list is generated, imported into players.dat and added to the
# history, alternately and timed side by side, then deleted (each is 320 MB).
# Then the history's size, Google Benchmark figures for loading it and for
# the lookup of a rating in force, and `players tag` with and without
# --history on the files of scripts/bench_tag.sh (run first when they are
# missing). Kept in build/native/benchdata/history; HISTORY_KEEP=1 keeps the
# history of an earlier run and only times.
set -euo pipefail
. "$(dirname "$0")/common.sh"
months=${MONTHS:-12}

"$root/scripts/setup.sh"
"$root/scripts/build.sh" native
bin=$build/native
data=$bin/benchdata/history
history=$data/history.dat
if [ "${HISTORY_KEEP:-0}" != 1 ] || [ ! -f "$history" ]; then
rm -rf "$data"
mkdir -p "$data"

echo "== adding $months months (import and history add of the same list, alternately)"
python3 - "$bin/tools/fidegen" "$bin/tools/players" "$data" "$history" "$months" <<'PY'
import os, statistics, subprocess, sys, time
fidegen, players, data, history, months = sys.argv[1:]
def timed(cmd):
    t = time.perf_counter()
    subprocess.run(cmd, stdout=subprocess.DEVNULL, check=True)
    return time.perf_counter() - t
ratios = []
for m in range(int(months)):
    month = f"2025-{m + 1:02d}"
    listing = subprocess.run(["nice", fidegen, "--series", months, "--only", str(m), "--players", "1900000",
                              "--seed", "7", "--month", "2025-01", data],
                             check=True, capture_output=True, text=True).stdout.split()
    path = listing[0]
    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)  # into the page cache
    # import, add, import: the add against the mean of the imports around it
    i1 = timed([players, "import", path, os.path.join(data, "players.dat")])
    a = timed([players, "history", "add", history, path, "--month", month])
    i2 = timed([players, "import", path, os.path.join(data, "players.dat")])
    imp = (i1 + i2) / 2
    ratios.append(a / imp)
    print(f"{month}: import {imp * 1000:.0f} ms, history add {a * 1000:.0f} ms, ratio {a / imp:.2f}, "
          f"history {os.path.getsize(history) / 1e6:.1f} MB", flush=True)
    os.remove(path)
print(f"add / import: median {statistics.median(ratios):.2f}, highest {max(ratios):.2f}")
print(f"history after {months} months: {os.path.getsize(history) / 1e6:.1f} MB "
      f"({os.path.getsize(history)} bytes); players.dat of one list: "
      f"{os.path.getsize(os.path.join(data, 'players.dat')) / 1e6:.1f} MB")
PY
fi
"$bin/tools/players" history list "$history"

echo "== Google Benchmark"
VELMARSH_BENCH_DIR=$data "$bin/bench/history_bench" "$@"
rm -f "$data/players.dat"

echo "== players tag with and without --history (alternately, medians)"
db=$bin/benchdata/players_bench.dat big=$bin/benchdata/generated_100mb.pgn
[ -f "$db" ] && [ -f "$big" ] || "$root/scripts/bench_tag.sh"
python3 - "$bin/tools/players" "$db" "$history" "$testdata/pgn/twic0920.pgn" "$big" <<'PY'
import os, statistics, subprocess, sys, time
players, db, history, twic, big = sys.argv[1:]
def timed(extra, pgn):
    t = time.perf_counter()
    subprocess.run([players, "tag", db, pgn, "-o", os.devnull] + extra, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - t
# twic0920 is of June 2012, before the generated lists: every lookup finds no
# list. The generated file's games are of January 2026, after them: every
# lookup goes through to the player's changes.
for name, pgn, rounds in (("twic0920", twic, 5), ("generated 100 MB", big, 3)):
    plain, dated = [], []
    for _ in range(rounds):
        plain.append(timed([], pgn))
        dated.append(timed(["--history", history], pgn))
    p, d = statistics.median(plain), statistics.median(dated)
    print(f"{name}: without {p:.3f} s, with --history {d:.3f} s, ratio {d / p:.2f}")
PY
