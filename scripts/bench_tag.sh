#!/usr/bin/env bash
# Times `players tag` against the 1.9-million-player database of bench.sh
# (fidegen --players 1900000 --seed 7), and measures its memory:
# - The Week in Chess 920 (2245 games, 1.9 MB) whole, database load
#   included, and a generated PGN file of about 100 MB whose names come from
#   that list (TWIC-style short names, full names, some games with FIDE ID
#   tags), for MB per second once the database is loaded (five and three
#   runs, medians);
# - the copying floor: on the 100 MB file and on a generated file of 1 GB
#   (the same kind of games with Elo tags and dates of 24 months), already
#   in the page cache, `players tag F -o OUT` against `dd if=F of=OUT bs=1M`
#   to the same disk, and `players tag - -o OUT < F` against the file run,
#   in turns, medians of five: the ratios tag/dd and stdin/file;
# - the peak resident set (/usr/bin/time) of tagging 1,000,000 small games
#   (60 MB) and the 1 GB file, above the same command on a file of one game
#   (the database and the program), and with a database of one player.
# The files are kept in build/native/benchdata.
#
# scripts/bench_tag.sh --baseline REF builds `players` of the git revision
# REF (e.g. main) beside it, runs both in turn on the files of the first
# part (the 100 MB file seven times) and prints the ratios of this tree to
# REF; the baseline's file run also takes its turn beside dd, and its
# output is compared with this tree's byte for byte.
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
    cmake -S "$src" -B "$build/baseline" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVELMARSH_TESTDATA="$testdata" >/dev/null
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
huge=$data/generated_1gb.pgn
small=$data/generated_1m_small.pgn
twic=$testdata/pgn/twic0920.pgn

if [ ! -f "$big" ] || [ ! -f "$huge" ] || [ ! -f "$small" ]; then
  python3 - "$list" "$twic" "$big" "$huge" "$small" <<'PY'
import random, re, sys
lst, twic, big, huge, small = sys.argv[1:]
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
def games(out, limit, elo):
    rng = random.Random(7)
    size, game = 0, 0
    with open(out, "wb") as f:
        while size < limit:
            game += 1
            month = 1 + game % 24
            head = [b'[Event "Generated %d"]' % (game // 50), b'[Site "Bench"]',
                    b'[Date "%d.%02d.%02d"]' % (2024 + (month - 1) // 12, 1 + (month - 1) % 12, 1 + game % 28),
                    b'[Round "%d"]' % (game % 50)]
            sides = []
            for side in (b"White", b"Black"):
                name, fide = rng.choice(players)
                form = rng.random()
                shown = name if form < 0.3 else short(name)
                head.append(b'[%s "%s"]' % (side, shown))
                if form > 0.9:
                    sides.append(b'[%sFIDE "%s"]' % (side, fide))
                if elo and form < 0.8:
                    sides.append(b'[%sElo "%d"]' % (side, rng.randint(1400, 2800)))
            head.append(b'[Result "1/2-1/2"]')
            head += sides
            head.append(b'[ECO "B%02d"]' % (game % 100))
            text = b"\n".join(head) + b"\n\n" + moves[game % len(moves)] + b"\n\n"
            f.write(text)
            size += len(text)
games(big, 100 * 1000 * 1000, False)
games(huge, 1000 * 1000 * 1000, True)
# One million small games: two players (of 2,000) and a result.
rng = random.Random(11)
pool = [short(p[0]) for p in rng.sample(players, 2000)]
with open(small, "wb") as f:
    for game in range(1000000):
        f.write(b'[White "%s"]\n[Black "%s"]\n\n1-0\n\n' % (rng.choice(pool), rng.choice(pool)))
PY
fi

# Wall times suffer from a busy machine; the processor time of the process
# (user + system) is what it would take alone. Both are shown; the load
# column is the "database" figure of the command's own summary.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$bin/tools/players" "$bin/tools/fidegen" "$db" "$twic" "$big" "$huge" "$small" "$data" "$baseline" <<'PY'
import os, re, resource, statistics, subprocess, sys, time
players, fidegen, db, twic, big, huge, small, data, baseline = sys.argv[1:]
def cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime
def run(args, stdin=None):
    t, c = time.perf_counter(), cpu()
    r = subprocess.run(args, stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, stdin=stdin, check=True)
    return time.perf_counter() - t, cpu() - c, r.stderr.decode()
binaries = [("this tree", players)] + ([("baseline", baseline)] if baseline else [])
once = {}
for name, pgn, rounds in (("twic0920", twic, 5), ("generated", big, 7 if baseline else 3)):
    mb = os.path.getsize(pgn) / 1e6
    # With a baseline, both programs in turn, so that they share the load.
    runs = {b: [] for b, _ in binaries}
    loads = {b: [] for b, _ in binaries}
    for _ in range(rounds):
        for b, binary in binaries:
            runs[b].append(run([binary, "tag", db, pgn, "-o", os.devnull]))
            loads[b].append(run([binary, "id", db, "0"]))  # load and indexes alone
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

# The copying floor, in turns on the cached file; the output goes beside it.
# With a baseline, its file run takes its turn too, and the two outputs
# must be the same bytes.
out = os.path.join(data, "tag-out.pgn")
before_out = os.path.join(data, "tag-out-baseline.pgn")
for pgn in (big, huge):
    subprocess.run(["cat", pgn], stdout=subprocess.DEVNULL, check=True)
    times = {"dd": [], "tag": [], "stdin": []}
    if baseline:
        times["baseline"] = []
    for _ in range(5):
        for kind in times:
            target = before_out if kind == "baseline" else out
            if os.path.exists(target):
                os.remove(target)
            if kind == "dd":
                w = run(["dd", f"if={pgn}", f"of={out}", "bs=1M"])[0]
            elif kind == "tag":
                w = run([players, "tag", db, pgn, "-o", out])[0]
            elif kind == "baseline":
                w = run([baseline, "tag", db, pgn, "-o", before_out])[0]
            else:
                with open(pgn, "rb") as f:
                    w = run([players, "tag", db, "-", "-o", out], stdin=f)[0]
            times[kind].append(w)
    same = ""
    if baseline:
        same = "; output the same bytes as the baseline's" if subprocess.run(
            ["cmp", "-s", out, before_out]).returncode == 0 else "; OUTPUT DIFFERS FROM THE BASELINE'S"
        os.remove(before_out)
    os.remove(out)
    m = {k: statistics.median(v) for k, v in times.items()}
    print(f"{os.path.basename(pgn)} ({os.path.getsize(pgn) / 1e6:.0f} MB, cached), medians of 5 in turns: "
          f"dd {m['dd']:.2f} s, players tag {m['tag']:.2f} s, from standard input {m['stdin']:.2f} s; "
          f"tag/dd {m['tag'] / m['dd']:.2f}, stdin/file {m['stdin'] / m['tag']:.2f}")
    if baseline:
        print(f"  baseline's players tag {m['baseline']:.2f} s: tag/dd {m['baseline'] / m['dd']:.2f}; "
              f"this tree {m['baseline'] / m['tag']:.2f} times as fast{same}")

# Peak resident set: above a run on one game (the database and the
# program), and with a database of one player.
one_game = os.path.join(data, "one-game.pgn")
with open(one_game, "wb") as f:
    f.write(b'[White "Nobody, X"]\n[Black "Nobody, Y"]\n\n1-0\n')
tiny_list = os.path.join(data, "one-player.txt")
tiny_db = os.path.join(data, "one-player.dat")
subprocess.run([fidegen, "--players", "1", "--seed", "1", tiny_list], stdout=subprocess.DEVNULL, check=True)
subprocess.run([players, "import", tiny_list, tiny_db], stdout=subprocess.DEVNULL, check=True)
def peak(database, pgn):
    r = subprocess.run(["/usr/bin/time", "-f", "%M", players, "tag", database, pgn, "-o", os.devnull],
                       stderr=subprocess.PIPE, check=True)
    return int(r.stderr.decode().strip().splitlines()[-1]) / 1024
for database, what in ((db, "1.9 million players"), (tiny_db, "one player")):
    base = peak(database, one_game)
    for pgn in (small, huge):
        mib = peak(database, pgn)
        print(f"peak resident set, database of {what}: {os.path.basename(pgn)} {mib:.1f} MiB, "
              f"one game {base:.1f} MiB: {mib - base:.1f} MiB above")
PY
