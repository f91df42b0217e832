#!/usr/bin/env bash
# Benchmarks of the player database on a generated FIDE list of 1.9 million
# players (seed 7): Google Benchmark figures (each lookup through the indexes
# and by the plain scan in the same run), the peak resident set of a process
# that loads the list and builds its indexes or imports the list, and the
# import against `wc -l` on the same cached file. Extra arguments go to the
# benchmark program, e.g. --benchmark_filter=Load. The list (about 300 MB) is
# kept in build/native/benchdata.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$root/scripts/setup.sh"
"$root/scripts/build.sh" native
bin=$build/native
data=$bin/benchdata
mkdir -p "$data"
list=$data/fide_1900000_seed7.txt
[ -f "$list" ] || "$bin/tools/fidegen" --players 1900000 --seed 7 "$list"

echo "== Google Benchmark"
VELMARSH_BENCH_DIR=$data "$bin/bench/database_bench" "$@"

echo "== peak resident set (whole process)"
peak_kib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
printf '\0\0\0\0' > "$data/empty.dat"
db=$data/players_bench.dat
players=$("$bin/tools/players" import "$list" "$db")
base=$(peak_kib "$bin/tools/players" id "$data/empty.dat" 0)
# A lookup by ID loads the list and builds its indexes.
loaded=$(peak_kib "$bin/tools/players" id "$db" 0)
imported=$(peak_kib "$bin/tools/players" import "$list" "$data/players_again.dat")
python3 - "$players" "$base" "$loaded" "$imported" <<'PY'
import sys
n, base, loaded, imported = (int(x) for x in sys.argv[1:])
print(f"players: {n}")
print(f"empty process: {base / 1024:.1f} MiB")
print(f"load and indexes (players id): {loaded / 1024:.1f} MiB peak, {(loaded - base) * 1024 / n:.1f} bytes per player above an empty process")
print(f"import (players import): {imported / 1024:.1f} MiB peak, {(imported - base) * 1024 / n:.1f} bytes per player")
PY

echo "== import (parse, sort, save) against wc -l, alternately, 5 rounds each (median)"
python3 - "$bin/tools/players" "$list" "$data/players_again.dat" <<'PY'
import statistics, subprocess, sys, time
players, lst, out = sys.argv[1:]
def timed(cmd):
    t = time.perf_counter()
    subprocess.run(cmd, stdout=subprocess.DEVNULL, check=True)
    return time.perf_counter() - t
wc, imp = [], []
timed(["wc", "-l", lst])  # warm the page cache
for _ in range(5):
    wc.append(timed(["wc", "-l", lst]))
    imp.append(timed([players, "import", lst, out]))
w, i = statistics.median(wc), statistics.median(imp)
print(f"wc -l: {w * 1000:.0f} ms, players import: {i * 1000:.0f} ms, ratio {i / w:.1f}")
PY
rm -f "$data/players_again.dat"
