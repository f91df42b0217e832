#!/usr/bin/env bash
# The main job: builds the plug-in and the stand-in host, writes a small
# sample base, FIDE list and games site (scripts/demo-data.sh), runs
# lumora-sim with Velmarsh.dll under Wine on scripts/demo.script and prints
# the transcript and what changed. With --interactive (and a display) it
# opens the host for a person instead.
set -euo pipefail
. "$(dirname "$0")/common.sh"
interactive=0
case "${1:-}" in
  --interactive) interactive=1 ;;
  "") ;;
  *) echo "usage: scripts/demo.sh [--interactive]" >&2; exit 2 ;;
esac

"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32

demo="$build/demo"
rm -rf "$demo"
"$root/scripts/demo-data.sh" "$demo"

# The host runs from a folder of its own, so that every demo starts from the
# default settings and without a player database.
mkdir -p "$demo/host/plugins"
cp "$build/win32/bin/lumora-sim.exe" "$demo/host/"
cp "$build/win32/bin/plugins/Velmarsh.dll" "$demo/host/plugins/"
exe="$demo/host/lumora-sim.exe"
if [ "$interactive" = 1 ]; then
  if [ -z "${DISPLAY:-}" ]; then
    echo "demo: --interactive needs a display (DISPLAY is not set)" >&2
    exit 1
  fi
  echo "demo: import $demo/players_list_demo.txt with Tools > More about players > Options... > New FIDE list"
  exec "$root/scripts/wine-session.sh" "$build/win32" "$build/win32/wine-run" "$exe" "$demo/sample.pgn" \
    --site "$demo/site"
fi

status=0
DEMO_BASE="$demo/sample.pgn" DEMO_DIR="$demo" VELMARSH_URL_LOG="$demo/urls.txt" \
  "$root/scripts/wine-session.sh" "$build/win32" "$build/win32/wine-run" "$exe" \
  --script "$root/scripts/demo.script" --transcript "$demo/transcript.txt" --timeout 120 \
  --site "$demo/site" 2> >(grep -v "FS volume label and serial are not available" >&2) || status=$?

echo "== transcript of lumora-sim running Velmarsh.dll ($demo/transcript.txt)"
cat "$demo/transcript.txt"
echo
echo "== what changed"
size() { if [ -f "$1" ]; then echo "$(wc -c <"$1") bytes"; else echo "missing"; fi; }
echo "-- the player database, imported from players_list_demo.txt: host/plugins/players.dat, $(size "$demo/host/plugins/players.dat")"
if [ -f "$demo/host/player_info.dat" ]; then
  echo "-- the options saved: host/player_info.dat, bytes$(od -An -tx1 "$demo/host/player_info.dat")"
  echo "   (save Title, Sex, Elo, Country; overwrite Title, Sex, Elo, Country; change name)"
fi
echo "-- the tags the plug-in added, sample.pgn against the base it saved (sample-tagged.pgn):"
if [ -f "$demo/sample-tagged.pgn" ]; then
  diff -U 100000 --label sample.pgn --label sample-tagged.pgn <(tr -d '\r' <"$demo/sample.pgn") \
    <(tr -d '\r' <"$demo/sample-tagged.pgn") | grep -E '^[+-]|^ \[(White|Black) ' || true
else
  echo "(the base was not saved)"
fi
echo "-- web pages opened:"
cat "$demo/urls.txt" 2>/dev/null || echo "(none)"
echo "-- games downloaded from the games site: svidler-games.pgn, $(size "$demo/svidler-games.pgn")"
echo "== files in $demo"
exit "$status"
