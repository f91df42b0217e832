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
  game 5 2012.06.22 "Carlsen" "Nepomniachtchi, Ian" "1/2-1/2"
} > "$demo/sample.pgn"

# A small FIDE rating list in the combined layout the plug-in imports.
player() {  # id name federation sex title rating birth-year
  printf '%-15s%-61s%-3s %-1s   %-5s%-5s%-15s%-4s%-6s%-4s%-3s%-6s%-4s%-3s%-6s%-4s%-3s%-6s%-4s\r\n' \
    "$1" "$2" "$3" "$4" "$5" "" "" "" "$6" "10" "10" "" "" "" "" "" "" "$7" ""
}
{
  printf '%-15s%-61s%-4s%-4s%-5s%-5s%-15s%-4s%-6s%-4s%-3s%-6s%-4s%-3s%-6s%-4s%-3s%-6s%-4s\r\n' \
    "ID Number" "Name" "Fed" "Sex" "Tit" "WTit" "OTit" "FOA" "SRtng" "SGm" "SK" "RRtng" "RGm" \
    "Rk" "BRtng" "BGm" "BK" "B-day" "Flag"
  player 1503014 "Carlsen, Magnus" NOR M GM 2830 1990
  player 1500015 "Carlsen, Henrik" NOR M "" 2105 1961
  player 309095 "Navara, David" CZE M GM 2710 1985
  player 4102142 "Svidler, Peter" RUS M GM 2740 1976
  player 4168119 "Nepomniachtchi, Ian" RUS M GM 2760 1990
  player 13601431 "Charkhalashvili, Inga" GEO F WGM 2290 1983
} > "$demo/players_list_demo.txt"
# The games site, served from a folder: the games of Svidler, Peter.
mkdir -p "$demo/site/public"
game 9 2012.06.22 "Svidler, Peter" "Navara, David" "1-0" > "$demo/site/public/download.jsp_id=4102142"

# The host runs from a folder of its own, so that every demo starts from the
# default settings and without a player database.
rm -rf "$demo/host"
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

rm -f "$demo/transcript.txt" "$demo/urls.txt"
status=0
DEMO_BASE="$demo/sample.pgn" DEMO_DIR="$demo" VELMARSH_URL_LOG="$demo/urls.txt" \
  "$root/scripts/wine-session.sh" "$build/win32" "$build/win32/wine-run" "$exe" \
  --script "$root/scripts/demo.script" --transcript "$demo/transcript.txt" --timeout 120 \
  --site "$demo/site" || status=$?

echo "== transcript of lumora-sim running Velmarsh.dll ($demo/transcript.txt)"
cat "$demo/transcript.txt"
echo "== tags added by the plug-in"
grep -E '^tag set ' "$demo/transcript.txt" || echo "(none)"
echo "== files: $demo/sample-tagged.pgn (the base saved), $demo/*.png (screenshots)"
exit "$status"
