#!/usr/bin/env bash
# `players history add` of a full-size generated list (1.9 million players,
# seed 7; the single lists and those of 2001 to 2004 hold only the players
# rated in their kind) in every layout the history reads, against `wc -l` of
# the same cached file, alternately, 5 rounds each: the ratio of the
# medians, and the peak resident set of the add. Each list is deleted after
# its rounds. BEFORE=PATH times another build of `players` beside it (one
# that refuses a layout is left out for it).
# Usage: scripts/bench-layouts.sh [LAYOUT...]   (default: every layout)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMARSH_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"
"$root/scripts/build.sh" native
bin=$build/native
data=$bin/benchdata/layouts
mkdir -p "$data"
layouts=("$@")
[ ${#layouts[@]} -gt 0 ] || layouts=(combined combined-nofoa single-2012 single before-2013 jan01 apr01 oct02)

python3 - "$bin/tools/fidegen" "$bin/tools/players" "${BEFORE:-}" "$data" "${layouts[@]}" <<'PY'
import os, statistics, subprocess, sys, time
fidegen, players, before, data, *layouts = sys.argv[1:]
# Named as FIDE names them: a single list's name gives its kind, a list of
# 2001 to 2004 its month.
names = {"combined": "players_list_foa.txt", "combined-nofoa": "players_list.txt",
         "single-2012": "standard_jan12frl.txt", "single": "standard_jan12frl.txt",
         "before-2013": "list_jan12.txt", "jan01": "jan02frl.txt", "apr01": "apr01frl.txt", "oct02": "oct02frl.txt"}
months = {"jan01": "2002-01", "apr01": "2001-04", "oct02": "2002-10"}
def timed(cmd):
    t = time.perf_counter()
    ok = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
    return time.perf_counter() - t if ok else None
def peak_kib(cmd):
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True).stderr
    return int(out.strip().splitlines()[-1])
for layout in layouts:
    path = os.path.join(data, names[layout])
    month = months.get(layout, "2012-01")
    subprocess.run(["nice", fidegen, "--players", "1900000", "--seed", "7", "--layout", layout,
                    "--month", month, path], check=True)
    lines = int(subprocess.run(["wc", "-l", path], capture_output=True, text=True).stdout.split()[0])
    history = os.path.join(data, "history.dat")
    def add(program):
        if os.path.exists(history):
            os.remove(history)
        return timed([program, "history", "add", history, path, "--month", month])
    wc, new, old = [], [], []
    timed(["wc", "-l", path])  # into the page cache
    for _ in range(5):
        wc.append(timed(["wc", "-l", path]))
        new.append(add(players))
        if before:
            old.append(add(before))
    if os.path.exists(history):
        os.remove(history)
    peak = peak_kib([players, "history", "add", history, path, "--month", month])
    w, a = statistics.median(wc), statistics.median(new)
    line = (f"{layout}: {lines - 1} players, {os.path.getsize(path) / 1e6:.0f} MB; wc -l {w * 1000:.0f} ms, "
            f"history add {a * 1000:.0f} ms, ratio {a / w:.1f}; peak {peak / 1024:.0f} MiB")
    if before:
        line += (f"; before: ratio {statistics.median(old) / w:.1f}" if None not in old else "; before: refused")
    print(line, flush=True)
    os.remove(path)
    os.remove(history)
PY
