#!/usr/bin/env bash
# Writes the demo's sample data into a folder: sample.pgn (a small base of
# real players' names in the host's own style), players_list_demo.txt (a
# small FIDE rating list in the combined layout the plug-in imports) and
# site/ (the games site, as a folder for lumora-sim's --site).
# Usage: scripts/demo-data.sh FOLDER
set -euo pipefail
out=${1:?usage: demo-data.sh FOLDER}
mkdir -p "$out/site/public"

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
} > "$out/sample.pgn"

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
} > "$out/players_list_demo.txt"

# The games of Svidler, Peter on the games site.
game 9 2012.06.22 "Svidler, Peter" "Navara, David" "1-0" > "$out/site/public/download.jsp_id=4102142"
