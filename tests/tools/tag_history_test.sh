#!/usr/bin/env bash
# Checks `players tag --history`: the Elo written is the rating in force at
# the game's date, for games dated before, between and after the lists, in a
# month without a day, and of unknown month (the database's rating); the
# report names the lists used. Usage: tag_history_test.sh RUNNER PLAYERS
# (RUNNER may be empty, or the program that runs a Windows build).
set -uo pipefail
runner=$1 players=$2
work=$(mktemp -d -p "$PWD" tag-history-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
T=$'\t'

run() { if [ -n "$runner" ]; then "$runner" "$players" "$@"; else "$players" "$@"; fi; }
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The database: today's list (combined layout).
line() {
  local s
  s=$(printf '%-15s%-61s%-3s %-1s   %-5s%-24s%-4s  %-33s%-4s      ' "$1" "$2" "$3" "$4" "$5" "" "$6" "" "$7")
  printf '%s\r\n' "$s"
}
fide_header='ID Number      Name                                                         Fed Sex Tit  WTit OTit           FOA SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag'
{
  printf '%-162s\r\n' "$fide_header"
  line 12345678 "Doe, Jane" NOR F WIM 2405 1990
  line 33 "Smith, John" USA M GM 2600 1980
} > list.txt
run import list.txt db.dat > /dev/null || fail "import"

# Three standard lists of 2012 and a rapid one, in the single layout of
# today (the rating under the month at column 114). Smith is missing from
# March's list.
single() {  # FILE MONTH (ID RATING)...
  local file=$1 month=$2; shift 2
  printf '%-109s%-4s%-6s%s\n' "ID Number      Name" "FOA" "$month" "Gms K  B-day Flag" > "$file"
  while [ $# -gt 0 ]; do
    printf '%-15s%-61s%-3s %-1s%-32s%-4s  0   20 1990      \n' "$1" "Player $1" NOR M "" "$2" >> "$file"
    shift 2
  done
}
single standard_jan12frl.txt JAN12 12345678 2300 33 2500
single standard_mar12frl.txt MAR12 12345678 2350
single standard_may12frl.txt MAY12 12345678 2350 33 2550
single rapid_feb12frl.txt FEB12 12345678 2100
for f in standard_jan12frl.txt standard_mar12frl.txt standard_may12frl.txt rapid_feb12frl.txt; do
  run history add h.dat "$f" > /dev/null || fail "history add $f"
done

game() {  # DATE (empty: no Date tag)
  printf '[Event "E"]\n'
  [ -n "$1" ] && printf '[Date "%s"]\n' "$1"
  printf '[White "Doe, Jane"]\n[Black "Smith, John"]\n[Result "*"]\n\n1. e4 *\n\n'
}
{
  game 2011.12.31   # before every list
  game 2012.02.15   # January's list
  game 2012.03.??   # March's, the day unknown: Smith not in it
  game 2012.04.01   # still March's
  game 2013.06.30   # after the last: May's
  game 2012.??.??   # month unknown: the database
  game ????.??.??
  game ""           # no date
} > games.pgn

# The Elo tags of each game, "White/Black", "-" for none.
elos() {
  LC_ALL=C awk '
    /^\[Event / { if (n++) print w "/" b; w = "-"; b = "-" }
    /^\[WhiteElo / { w = $2 } /^\[BlackElo / { b = $2 }
    END { print w "/" b }' "$1" | tr -d '"]' | tr '\n' ' '
}

run tag db.dat games.pgn -o plain.pgn 2> stderr.txt || fail "tag without history: $(cat stderr.txt)"
want="2405/2600 2405/2600 2405/2600 2405/2600 2405/2600 2405/2600 2405/2600 2405/2600 "
[ "$(elos plain.pgn)" = "$want" ] || fail "without history: $(elos plain.pgn)"

run tag db.dat games.pgn -o dated.pgn --history h.dat --report report.tsv 2> stderr.txt ||
  fail "tag --history: $(cat stderr.txt)"
want="-/- 2300/2500 2350/- 2350/- 2350/2550 2405/2600 2405/2600 2405/2600 "
[ "$(elos dated.pgn)" = "$want" ] || fail "with history: $(elos dated.pgn), expected $want"
grep -q "^Doe, Jane.*Elo of standard lists: 2012-01 (1 game), 2012-03 (2 games), 2012-05 (1 game); no rating in force: 1 game; without a month, the database's: 3 games" report.tsv ||
  fail "report for Doe: $(grep '^Doe' report.tsv)"
grep -q "^Smith, John.*Elo of standard lists: 2012-01 (1 game), 2012-05 (1 game); no rating in force: 3 games; without a month" report.tsv ||
  fail "report for Smith: $(grep '^Smith' report.tsv)"
# Only the Elo differs from the run without history; the other tags stay.
[ "$(grep -v Elo dated.pgn)" = "$(grep -v Elo plain.pgn)" ] || fail "tags other than Elo differ"

run tag db.dat games.pgn -o rapid.pgn --history h.dat --kind rapid 2> stderr.txt || fail "tag --kind rapid"
want="-/- 2100/- 2100/- 2100/- 2100/- 2405/2600 2405/2600 2405/2600 "
[ "$(elos rapid.pgn)" = "$want" ] || fail "rapid: $(elos rapid.pgn)"

# An Elo already in the game is replaced only under --overwrite elo, by the
# rating of the game's date.
sed 's/^\[Result "\*"\]/[WhiteElo "2330"]\n&/' games.pgn > with-elo.pgn
run tag db.dat with-elo.pgn -o kept.pgn --history h.dat 2> /dev/null
[ "$(elos kept.pgn)" = "2330/- 2330/2500 2330/- 2330/- 2330/2550 2330/2600 2330/2600 2330/2600 " ] ||
  fail "existing Elo: $(elos kept.pgn)"
run tag db.dat with-elo.pgn -o replaced.pgn --history h.dat --overwrite elo 2> /dev/null
[ "$(elos replaced.pgn)" = "2330/- 2300/2500 2350/- 2350/- 2350/2550 2405/2600 2405/2600 2405/2600 " ] ||
  fail "overwritten Elo: $(elos replaced.pgn)"
# The name is settled by the Elo of its games against the rating in force in
# their month (March 2012: 2350): a game's Elo 300 away leaves it open.
sed 's/^\[Result "\*"\]/[WhiteElo "2050"]\n&/' games.pgn > far-elo.pgn
run tag db.dat far-elo.pgn -o far.pgn --history h.dat --report far.tsv 2> /dev/null
grep -q "^Doe, Jane${T}8${T}ambiguous${T}.*asked: Elo 2050 vs 2350" far.tsv || fail "far Elo: $(grep '^Doe' far.tsv)"

# Errors.
run tag db.dat games.pgn -o x.pgn --history missing.dat 2> stderr.txt; [ $? = 1 ] || fail "missing history: exit"
grep -q "cannot read missing.dat" stderr.txt || fail "missing history: $(cat stderr.txt)"
printf 'junk' > bad.dat
run tag db.dat games.pgn -o x.pgn --history bad.dat 2> stderr.txt; [ $? = 1 ] || fail "damaged history: exit"
grep -q "bad.dat is damaged" stderr.txt || fail "damaged history: $(cat stderr.txt)"
run tag db.dat games.pgn -o x.pgn --kind rapid 2> /dev/null; [ $? = 2 ] || fail "--kind without --history"
run tag db.dat games.pgn -o x.pgn --history h.dat --kind bullet 2> /dev/null; [ $? = 2 ] || fail "--kind bullet"

[ "$failures" = 0 ] && echo "tag --history: all checks passed"
exit $((failures > 0))
