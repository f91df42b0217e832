#!/usr/bin/env bash
# Checks `players history` and `players rating` on the real lists of every
# layout: months and kinds as the files give them, ratings in force between
# and after lists, replacement of a month, and the errors that leave the
# history as it was. Usage: history_test.sh RUNNER PLAYERS TESTDATA (RUNNER
# may be empty, or the program that runs a Windows build). Exit code 77
# (skipped) when the real lists are absent.
set -uo pipefail
runner=$1 players=$2 testdata=$3
work=$(mktemp -d -p "$PWD" history-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
T=$'\t'

run() { if [ -n "$runner" ]; then "$runner" "$players" "$@"; else "$players" "$@"; fi; }
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect CODE EXPECTED_STDOUT ARGS...: the exit code and the exact output.
expect() {
  local code=$1 want=$2; shift 2
  local got status
  got=$(run "$@" 2>stderr.txt; echo "~$?")
  status=${got##*~}; got=${got%~*}; got=${got%$'\n'}
  got=${got//$'\r'/}
  [ "$status" = "$code" ] || fail "players $*: exit $status, expected $code ($(cat stderr.txt))"
  [ "$got" = "$want" ] || fail "players $*: output differs:"$'\n'"$got"$'\n'"--- expected:"$'\n'"$want"
}

# expect_error CODE PATTERN ARGS...: an exit code, no output, and a one-line
# message on stderr.
expect_error() {
  local code=$1 pattern=$2; shift 2
  expect "$code" "" "$@"
  grep -q -- "$pattern" stderr.txt || fail "players $*: no message matching '$pattern' on stderr: $(cat stderr.txt)"
}

fide=$testdata/fide
[ -d "$fide/other-layouts" ] || { echo "skipping: $fide/other-layouts not found"; exit 77; }
# Local copies: a local path works for both builds.
cp "$fide/other-layouts/list_mar11_old_format.txt" list_mar11.txt
cp "$fide/other-layouts/rapid_sep12frl.txt" rapid_sep12frl.txt
cp "$fide/other-layouts/standard_mar26_AHO.txt" standard_mar26_AHO.txt
cp "$fide/players_list_foa_2018_excerpt.txt" players_list_foa.txt
cp "$fide/rapid_sep12_combined_layout.txt" sep12_combined.txt

# The format before 2013 is a standard list of its header's month.
expect 0 "2011-03${T}standard${T}9999 players${T}3709 rated" history add h.dat list_mar11.txt
expect 0 "2686${T}2011-03" rating h.dat 4158814
expect 0 "2686${T}2011-03" rating h.dat 4158814 --at 2011-03-01
expect 0 "2686${T}2011-03" rating h.dat 4158814 --at 2030-12-31
expect 1 "" rating h.dat 4158814 --at 2011-02-28
expect 1 "" rating h.dat 25087835               # listed, unrated
expect 1 "" rating h.dat 99                     # never listed
expect 1 "" rating h.dat 4158814 --kind rapid   # no rapid list held

# A single list's kind from its file name, its month from the header.
expect 0 "2012-09${T}rapid${T}5906 players${T}5906 rated" history add h.dat rapid_sep12frl.txt
expect 0 "2845${T}2012-09" rating h.dat 1503014 --kind rapid
expect 0 "2026-03${T}standard${T}95 players${T}95 rated" history add h.dat standard_mar26_AHO.txt
expect 0 "1806${T}2026-03" rating h.dat 1061143
expect 1 "" rating h.dat 1061143 --at 2026-02-15   # the 2011 list is in force then, without him
expect 1 "" rating h.dat 4158814                    # not in the latest standard list
expect 0 "2686${T}2011-03" rating h.dat 4158814 --at 2026-02-15

# The combined list says no month: --month it is, all three kinds.
expect_error 1 "give --month" history add h.dat players_list_foa.txt
expect 0 "2018-11${T}standard${T}999 players${T}286 rated
2018-11${T}rapid${T}999 players${T}131 rated
2018-11${T}blitz${T}999 players${T}77 rated" history add h.dat players_list_foa.txt --month 2018-11
expect 0 "1736${T}2018-11" rating h.dat 419214 --at 2019-01-01
expect 0 "1587${T}2018-11" rating h.dat 419214 --at 2019-01-01 --kind rapid
expect 1 "" rating h.dat 419214 --kind blitz
# The month again replaces it; --kind takes one kind of a combined list.
expect 0 "2018-11${T}standard${T}5906 players${T}5906 rated${T}replaced" \
  history add h.dat sep12_combined.txt --month 2018-11 --kind standard
expect 0 "1782${T}2018-11" rating h.dat 419214 --at 2019-01-01   # he is in the other list too
expect 0 "1587${T}2018-11" rating h.dat 419214 --at 2019-01-01 --kind rapid
expect 0 "2011-03${T}standard${T}9999 players${T}3709 rated
2012-09${T}rapid${T}5906 players${T}5906 rated
2018-11${T}standard${T}5906 players${T}5906 rated
2018-11${T}rapid${T}999 players${T}131 rated
2018-11${T}blitz${T}999 players${T}77 rated
2026-03${T}standard${T}95 players${T}95 rated" history list h.dat

# The lists of 2001 to 2004: every header form, no header (jul03, its month
# from its name), the three column sets, a Ctrl-Z (APR04), repeated IDs
# (OCT02, jul03); each a standard list of its month.
if [ -d "$fide/before-2005" ]; then
  listed=""
  for f in JAN01FRL.TXT APR01FRL.TXT JUL01FRL.TXT JAN02FRL.TXT OCT02FRL.TXT jan03frl.txt APR03FRL.TXT jul03frl.txt \
           APR04FRL.TXT; do
    cp "$fide/before-2005/$f" "$f"
    out=$(run history add early.dat "$f" 2>stderr.txt) || fail "history add $f: $(cat stderr.txt)"
    listed+="${out//$'\r'/}"$'\n'
  done
  [ "$listed" = "2001-01${T}standard${T}150 players${T}150 rated
2001-04${T}standard${T}150 players${T}150 rated
2001-07${T}standard${T}150 players${T}150 rated
2002-01${T}standard${T}150 players${T}150 rated
2002-10${T}standard${T}160 players${T}160 rated
2003-01${T}standard${T}149 players${T}149 rated
2003-04${T}standard${T}150 players${T}150 rated
2003-07${T}standard${T}169 players${T}167 rated
2004-04${T}standard${T}143 players${T}143 rated
" ] || fail "the lists of 2001 to 2004 gave:"$'\n'"$listed"
  # Aaberg, Anton through the years; Alsina Leal re-rated in the same list
  # (the later line); Becker, Thomas: two people under one ID (none).
  for case in 2001-01-15:2300:2001-01 2001-05-15:2347:2001-04 2001-12-31:2373:2001-07 2002-01-01:2388:2002-01 \
              2002-10-15:2404:2002-10 2030-01-01:2383:2004-04; do
    IFS=: read -r at rating month <<< "$case"
    expect 0 "$rating${T}$month" rating early.dat 1701991 --at "$at"
  done
  expect 0 "2186${T}2002-10" rating early.dat 2252627 --at 2002-11-01
  expect 0 "1996${T}2003-07" rating early.dat 4167252 --at 2003-07-01
  expect 1 "" rating early.dat 4624904 --at 2003-07-01
  cp jul03frl.txt renamed.txt
  expect_error 1 "give --month" history add early.dat renamed.txt
  expect_error 1 "is a standard list" history add early.dat JAN01FRL.TXT --kind rapid
fi

# Errors leave the history byte for byte as it was.
cp h.dat before.dat
unchanged() { cmp -s h.dat before.dat || fail "history changed by: $*"; }
# A download cut in the middle of its last line, in three layouts: refused,
# not stored with the cut digits as a lower rating.
cut_last() { local n; n=$(tail -n 1 "$1" | wc -c); head -c -"$n" "$1"; tail -n 1 "$1" | head -c "$2"; }
cut_last rapid_sep12frl.txt 111 > rapid_sep12_cut.txt                  # "18" of the rating
expect_error 1 "rapid_sep12_cut.txt ends in the middle of a line: download it again" \
  history add h.dat rapid_sep12_cut.txt --kind rapid; unchanged cut
cut_last list_mar11.txt 55 > list_mar11_cut.txt
expect_error 1 "ends in the middle of a line" history add h.dat list_mar11_cut.txt; unchanged cut
cut_last players_list_foa.txt 128 > combined_cut.txt
expect_error 1 "ends in the middle of a line" history add h.dat combined_cut.txt --month 2018-12; unchanged cut
head -n 1 rapid_sep12frl.txt > rapid_oct12frl.txt
expect_error 1 "rapid_oct12frl.txt lists no players" history add h.dat rapid_oct12frl.txt; unchanged header
# The format before 2013 holds standard ratings, whatever the file is called.
cp list_mar11.txt blitz_mar11frl.txt
expect_error 1 "is a standard list" history add h.dat blitz_mar11frl.txt --kind blitz; unchanged kind
printf '[Event "x"]\n1. e4 *\n' > games.txt
expect_error 1 "games.txt is not a FIDE rating list" history add h.dat games.txt --month 2020-01; unchanged games
: > empty.txt
expect_error 1 "empty.txt is not a FIDE rating list" history add h.dat empty.txt --month 2020-01; unchanged empty
expect_error 1 "cannot read missing.txt" history add h.dat missing.txt; unchanged missing
cp rapid_sep12frl.txt sep12frl.txt
expect_error 1 "give --kind" history add h.dat sep12frl.txt; unchanged kind
expect_error 1 "is the list of 2012-09, not of 2012-10" history add h.dat rapid_sep12frl.txt --month 2012-10; unchanged month
printf 'not a history' > bad.dat
cp bad.dat bad_before.dat
expect_error 1 "bad.dat is damaged" history add bad.dat list_mar11.txt
cmp -s bad.dat bad_before.dat || fail "a damaged history was overwritten"
expect_error 1 "bad.dat is damaged" rating bad.dat 5
expect_error 1 "cannot read none.dat" history list none.dat
expect_error 1 "cannot read none.dat" rating none.dat 5
mkdir -p folder.dat
expect_error 1 "cannot read folder.dat" history list folder.dat
expect_error 1 "cannot write" history add no-such-folder/h.dat list_mar11.txt

# Usage errors.
expect_error 2 "usage:" history
expect_error 2 "usage:" history frob h.dat
expect_error 2 "usage:" history add h.dat
expect_error 2 "usage:" history add h.dat list_mar11.txt --kind classical
expect_error 2 "usage:" history add h.dat list_mar11.txt --month 2011-3
expect_error 2 "usage:" history add h.dat list_mar11.txt --month
expect_error 2 "usage:" history list
expect_error 2 "usage:" rating h.dat
expect_error 2 "usage:" rating h.dat 12x
expect_error 2 "usage:" rating h.dat 0
expect_error 2 "usage:" rating h.dat 5 --at 2011-03-32
expect_error 2 "usage:" rating h.dat 5 --at 2011.03.01
expect_error 2 "usage:" rating h.dat 5 --frob 1
unchanged usage

[ "$failures" = 0 ] && echo "history: all checks passed"
exit $((failures > 0))
