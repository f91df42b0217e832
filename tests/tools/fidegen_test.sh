#!/usr/bin/env bash
# Checks the FIDE list generator: the same seed gives the same bytes, lines
# have the combined layout, and the list imports with the variety the tests
# and benchmarks rely on. Usage: fidegen_test.sh FIDEGEN PLAYERS
set -uo pipefail
fidegen=$1 players=$2
work=$(mktemp -d -p "$PWD" fidegen-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$fidegen" --players 20000 --seed 3 a.txt || fail "fidegen failed"
"$fidegen" --players 20000 --seed 3 > b.txt || fail "fidegen to standard output failed"
"$fidegen" --players 20000 --seed 4 c.txt || fail "fidegen failed"
cmp -s a.txt b.txt || fail "the same seed gave different lists"
cmp -s a.txt c.txt && fail "different seeds gave the same list"
[ "$(wc -l < a.txt)" = 20001 ] || fail "expected a header and 20000 lines"
bad=$(LC_ALL=C awk '{ if (length($0) != 163 || substr($0, 163) != "\r") n++ } END { print n + 0 }' a.txt)
[ "$bad" = 0 ] || fail "$bad lines are not 162 characters and CRLF"
"$fidegen" --players 0 > empty.txt && [ "$(wc -l < empty.txt)" = 1 ] || fail "an empty list is the header alone"
"$fidegen" --players x > /dev/null 2>&1; [ $? = 2 ] || fail "a bad count is a usage error"

imported=$("$players" import a.txt a.dat)
[ "$imported" -gt 19700 ] && [ "$imported" -lt 20000 ] || fail "imported $imported of 20000 (a few names are not importable)"
"$players" dump a.dat > dump.txt
count() { LC_ALL=C awk -F'\t' "$1" dump.txt | wc -l; }
[ "$(count '$6 == 6')" -gt 19000 ] || fail "most players have no title"
for t in 0 1 2 3 4 5; do [ "$(count "\$6 == $t")" -gt 0 ] || fail "no player with title code $t"; done
[ "$(count '$7 == 0')" -gt 100 ] || fail "too few unknown federations"
[ "$(count '$4 == 0')" -gt 10000 ] || fail "too few unrated players"
[ "$(count '$5 == 1')" -gt 2000 ] || fail "too few women"
[ "$(count '$2 == 0')" -gt 0 ] || fail "no player without an ID"
[ "$(count '$3 ~ /-/')" -gt 200 ] || fail "too few hyphenated names"
[ "$(count "\$3 ~ /'/")" -gt 100 ] || fail "too few apostrophes"
[ "$(count '$3 ~ /^Van der /')" -gt 10 ] || fail "too few particles"
[ "$(count '$3 ~ /, [A-Z]\.$/')" -gt 500 ] || fail "too few initials"
[ "$(count '$3 == "Kumar, Rahul"')" -gt 3 ] || fail "common names should repeat"

# The other layouts: their line lengths and line ends, and the month in the
# header where the layout has one.
layout_check() {  # LAYOUT LENGTH END HEADER_PATTERN
  "$fidegen" --players 3000 --seed 5 --layout "$1" --kind rapid --month 2012-09 > "$1.txt" || fail "fidegen --layout $1"
  local bad
  bad=$(LC_ALL=C awk -v n="$2" -v crlf="$3" '{ l = length($0); c = substr($0, l) == "\r"; if (c != crlf || l - c > n) k++ } END { print k + 0 }' "$1.txt")
  [ "$bad" = 0 ] || fail "$bad lines of layout $1 are longer than $2 characters or end otherwise"
  head -1 "$1.txt" | grep -q -- "$4" || fail "layout $1: header $(head -1 "$1.txt")"
}
layout_check combined-nofoa 158 1 "OTit           SRtng SGm"
layout_check single-2012 132 0 "OTit           sep12 Gms"
layout_check single 136 0 "OTit           FOA SEP12 Gms"
layout_check before-2013 74 1 "^ID number Name  *TitlFed  Sep12 GamesBorn"
# The lists of 2001 to 2004: standard lists of rated players only, each read
# by the history whole.
layout_check jan01 85 0 "^  ID_NUMBER NAME  *TITLE COUNTRY SEP12 GAMES BIRTHDAY FLAG"
layout_check apr01 86 0 "^  ID_NUMBER NAME  *TITLE COUNTRY SEP12 GAMES BIRTHDAY FLAG"
layout_check oct02 79 0 "^ID_NUMBER NAME  *TITLE COUNTRY SEP12 GAMES BIRTHDAY FLAG"
for layout in jan01 apr01 oct02; do
  n=$(($(wc -l < $layout.txt) - 1))
  added=$("$players" history add "h_$layout.dat" $layout.txt)
  [ "$added" = "2012-09"$'\t'"standard"$'\t'"$n players"$'\t'"$n rated" ] || fail "history add of layout $layout: $added"
done
# A single list holds only players rated in its kind: about a quarter.
rapid=$(($(wc -l < single.txt) - 1))
[ "$rapid" -gt 600 ] && [ "$rapid" -lt 900 ] || fail "a rapid list of 3000 players holds $rapid"

# A series: one list a month, named as FIDE names them, a share of the
# ratings changed from one to the next, the same players in each.
"$fidegen" --series 3 --players 3000 --seed 5 --layout single --kind blitz --month 2025-12 series > listed.txt || fail "fidegen --series"
[ "$(cat listed.txt | xargs -n1 basename | tr '\n' ' ')" = "blitz_dec25frl.txt blitz_jan26frl.txt blitz_feb26frl.txt " ] ||
  fail "series files: $(cat listed.txt)"
changed=$(LC_ALL=C awk 'FNR > 1 { id = substr($0, 1, 15); if (FILENAME == ARGV[1]) was[id] = $0; else if (id in was && was[id] != $0) n++ } END { print n + 0 }' \
  series/blitz_dec25frl.txt series/blitz_jan26frl.txt)
[ "$changed" -gt 20 ] && [ "$changed" -lt 150 ] || fail "$changed of about 600 lines changed from one month to the next"
"$fidegen" --series 3 --only 2 --players 3000 --seed 5 --layout single --kind blitz --month 2025-12 only > /dev/null
cmp -s only/blitz_feb26frl.txt series/blitz_feb26frl.txt || fail "--only wrote another list than the series"
[ "$(ls only)" = blitz_feb26frl.txt ] || fail "--only wrote $(ls only)"
"$fidegen" --series 3 --only 3 only > /dev/null 2>&1; [ $? = 2 ] || fail "--only beyond the series is a usage error"
"$fidegen" --layout nonsense > /dev/null 2>&1; [ $? = 2 ] || fail "an unknown layout is a usage error"

[ "$failures" = 0 ] && echo "fidegen: all checks passed"
exit $((failures > 0))
