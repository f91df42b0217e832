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

[ "$failures" = 0 ] && echo "fidegen: all checks passed"
exit $((failures > 0))
