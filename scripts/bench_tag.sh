#!/usr/bin/env bash
# Times `players tag` against the 1.9-million-player database of bench.sh
# (fidegen --players 1900000 --seed 7): The Week in Chess 920 (2245 games,
# 1.9 MB) whole, database load included, and a generated PGN file of about
# 100 MB whose names come from that list (TWIC-style short names, full names,
# some games with FIDE ID tags), for MB per second once the database is
# loaded. Five runs each, medians; the files are kept in
# build/native/benchdata.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$root/scripts/setup.sh"
"$root/scripts/build.sh" native
bin=$build/native
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
python3 - "$bin/tools/players" "$db" "$twic" "$big" <<'PY'
import os, re, resource, statistics, subprocess, sys, time
players, db, twic, big = sys.argv[1:]
def cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime
def run(args):
    t, c = time.perf_counter(), cpu()
    r = subprocess.run([players] + args, stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, check=True)
    return time.perf_counter() - t, cpu() - c, r.stderr.decode()
for name, pgn, rounds in (("twic0920", twic, 5), ("generated", big, 3)):
    runs = [run(["tag", db, pgn, "-o", os.devnull]) for _ in range(rounds)]
    loads = [run(["id", db, "0"]) for _ in range(rounds)]  # load and indexes alone
    wall = statistics.median(r[0] for r in runs)
    cpu_all = statistics.median(r[1] for r in runs)
    cpu_load = statistics.median(r[1] for r in loads)
    mb = os.path.getsize(pgn) / 1e6
    print(f"{name}: {mb:.1f} MB; whole run: wall {wall:.3f} s, processor {cpu_all:.3f} s; "
          f"load and indexes alone: processor {cpu_load:.3f} s; tagging once loaded: processor "
          f"{cpu_all - cpu_load:.3f} s = {mb / (cpu_all - cpu_load):.0f} MB/s (medians of {rounds})")
    print("  " + runs[-1][2].strip())
PY
