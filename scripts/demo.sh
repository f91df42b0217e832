#!/usr/bin/env bash
# The main job: builds the plug-in and the stand-in host, writes a small
# sample base, runs lumora-sim with Velmarsh.dll under Wine on
# scripts/demo.script and prints the transcript and the tags the plug-in
# added. With --interactive (and a display) it opens the host for a person.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMARSH_BUILD_DIR:-$root/build}
interactive=0
case "${1:-}" in
  --interactive) interactive=1 ;;
  "") ;;
  *) echo "usage: scripts/demo.sh [--interactive]" >&2; exit 2 ;;
esac

"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32

demo="$build/demo"
mkdir -p "$demo"
# A small base of real players' names, in the host's own style (CRLF).
game() {  # round date white black result [extra tag lines]
  local result=$5
  printf '[Event "Demo Rapid"]\r\n[Site "Prague CZE"]\r\n[Date "%s"]\r\n[Round "%s"]\r\n' "$2" "$1"
  printf '[White "%s"]\r\n[Black "%s"]\r\n[Result "%s"]\r\n' "$3" "$4" "$result"
  shift 5
  for tag in "$@"; do printf '%s\r\n' "$tag"; done
  printf '\r\n1. e4 c5 2. Nf3 d6 %s\r\n\r\n' "$result"
}
{
  game 1 2012.06.20 "Navara, David" "Svidler, Peter" "1/2-1/2"
  game 2 2012.06.20 "Carlsen, Magnus" "Navara, David" "1-0" '[WhiteElo "2837"]'
  game 3 2012.06.21 "Svidler, Peter" "Carlsen, Magnus" "0-1"
  game 4 2012.06.21 "Anonymous" "Carlsen, Magnus" "*"
} > "$demo/sample.pgn"

exe="$build/win32/bin/lumora-sim.exe"
if [ "$interactive" = 1 ]; then
  if [ -z "${DISPLAY:-}" ]; then
    echo "demo: --interactive needs a display (DISPLAY is not set)" >&2
    exit 1
  fi
  exec "$root/scripts/wine-session.sh" "$build/win32" "$build/win32/wine-run" "$exe" "$demo/sample.pgn"
fi

rm -f "$demo/transcript.txt"
status=0
DEMO_BASE="$demo/sample.pgn" DEMO_DIR="$demo" \
  "$root/scripts/wine-session.sh" "$build/win32" "$build/win32/wine-run" "$exe" \
  --script "$root/scripts/demo.script" --transcript "$demo/transcript.txt" --timeout 120 || status=$?

echo "== transcript of lumora-sim running Velmarsh.dll ($demo/transcript.txt)"
cat "$demo/transcript.txt"
echo "== tags added by the plug-in"
grep -E '^tag set ' "$demo/transcript.txt" || echo "(none: the commands that add tags have not landed yet)"
[ -f "$demo/main-window.png" ] && echo "== screenshot: $demo/main-window.png"
exit "$status"
