#!/usr/bin/env bash
# Times `players tag` against the 1.9-million-player database of bench.sh
# (fidegen --players 1900000 --seed 7): The Week in Chess 920 (2245 games,
# 1.9 MB) whole, database load included, and a generated PGN file of about
# 100 MB whose names come from that list (TWIC-style short names, full names,
# some games with FIDE ID tags), for MB per second once the database is
# loaded. Five runs each, medians; the files are kept in
# build/native/benchdata.
#
# scripts/bench_tag.sh --baseline REF builds `players` of the git revision
# REF (e.g. main) beside it and runs both in turn, the same files, and
# prints the ratios of this tree to REF.
set -euo pipefail
. "$(dirname "$0")/common.sh"

baseline_ref=""
if [ "${1:-}" = "--baseline" ]; then baseline_ref=${2:?--baseline needs a git revision}; fi

"$root/scripts/setup.sh"
"$root/scripts/build.sh" native
bin=$build/native
baseline=""
if [ -n "$baseline_ref" ]; then
  src=$build/baseline-src
  rm -rf "$src" && mkdir -p "$src"
  git -C "$root" archive "$baseline_ref" | tar -x -C "$src"
  [ -f "$build/baseline/build.ninja" ] ||
    cmake -S "$src" -B "$build/baseline" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build/baseline" --target players -- --quiet
  baseline=$build/baseline/tools/players
fi
data=$bin/benchdata
mkdir -p "$data"
list=$data/fide_1900000_seed7.txt
db=$data/players_bench.dat
[ -f "$list" ] || "$bin/tools/fidegen" --players 1900000 --seed 7 "$list"
[ -f "$db" ] || "$bin/tools/players" import "$list" "$db" >/dev/null
big=$data/generated_100mb.pgn
twic=$testdata/pgn/twic0920.pgn

if [ ! -f "$big" ]; then
  python3 - "$list" "$twic" "$big" <<'PY'
import random, re, sys
lst, twic, out = sys.argv[1:]
rng = random.Random(7)
players = []
with open(lst, "rb") as f:
    f.readline()
    for i, line in enumerate(f):
        if i % 50:
            continue
        name = line[15:76].strip()
        if b", " in name and line[:15].strip().isdigit():
            players.append((name, line[:15].strip()))
moves = re.findall(rb"\n\n(1\..*?)(?=\n\n|\Z)", open(twic, "rb").read(), re.S)
def short(name):
    surname, given = name.split(b", ", 1)
    return surname + b"," + given[:1]
size, game = 0, 0
with open(out, "wb") as f:
    while size < 100 * 1000 * 1000:
        game += 1
        head = [b'[Event "Generated %d"]' % (game // 50), b'[Site "Bench"]', b'[Date "2026.01.01"]',
                b'[Round "%d"]' % (game % 50)]
        sides = []
        for side in (b"White", b"Black"):
            name, fide = rng.choice(players)
            form = rng.random()
            shown = name if form < 0.3 else short(name)
            head.append(b'[%s "%s"]' % (side, shown))
            if form > 0.9:
                sides.append(b'[%sFIDE "%s"]' % (side, fide))
        head.append(b'[Result "1/2-1/2"]')
        head += sides
        head.append(b'[ECO "B%02d"]' % (game % 100))
        text = b"\n".join(head) + b"\n\n" + moves[game % len(moves)] + b"\n\n"
        f.write(text)
        size += len(text)
PY
fi

# Wall times suffer from a busy machine; the processor time of the process
# (user + system) is what it would take alone. Both are shown; the load
# column is the "database" figure of the command's own summary.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$bin/tools/players" "$db" "$twic" "$big" "$baseline" <<'PY'
import os, re, resource, statistics, subprocess, sys, time
players, db, twic, big, baseline = sys.argv[1:]
def cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime
def run(binary, args):
    t, c = time.perf_counter(), cpu()
    r = subprocess.run([binary] + args, stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, check=True)
    return time.perf_counter() - t, cpu() - c, r.stderr.decode()
binaries = [("this tree", players)] + ([("baseline", baseline)] if baseline else [])
once = {}
for name, pgn, rounds in (("twic0920", twic, 5), ("generated", big, 3)):
    mb = os.path.getsize(pgn) / 1e6
    # Both programs in turn, so that they share the machine's load.
    runs = {b: [] for b, _ in binaries}
    loads = {b: [] for b, _ in binaries}
    for _ in range(rounds):
        for b, binary in binaries:
            runs[b].append(run(binary, ["tag", db, pgn, "-o", os.devnull]))
            loads[b].append(run(binary, ["id", db, "0"]))  # load and indexes alone
    for b, _ in binaries:
        wall = statistics.median(r[0] for r in runs[b])
        cpu_all = statistics.median(r[1] for r in runs[b])
        cpu_load = statistics.median(r[1] for r in loads[b])
        once[(b, name)] = (cpu_all, cpu_all - cpu_load)
        print(f"{b}: {name}: {mb:.1f} MB; whole run: wall {wall:.3f} s, processor {cpu_all:.3f} s; "
              f"load and indexes alone: processor {cpu_load:.3f} s; tagging once loaded: processor "
              f"{cpu_all - cpu_load:.3f} s = {mb / (cpu_all - cpu_load):.0f} MB/s (medians of {rounds})")
        print("  " + runs[b][-1][2].strip())
if baseline:
    t, tb = once[("this tree", "twic0920")][0], once[("baseline", "twic0920")][0]
    g, gb = once[("this tree", "generated")][1], once[("baseline", "generated")][1]
    print(f"twic0920, whole run: {t / tb:.3f} times the baseline's processor time")
    print(f"generated, once loaded: throughput {gb / g:.3f} of the baseline's")
PY
