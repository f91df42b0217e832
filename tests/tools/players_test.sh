#!/usr/bin/env bash
# Checks the command-line interface of `players`: outputs, exit codes and
# messages. Usage: players_test.sh RUNNER PLAYERS [TESTDATA] (RUNNER may be
# empty, or the program that runs a Windows build). With TESTDATA it checks
# the tool on a real list only, and exits with 77 (skipped) when the list is
# absent.
set -uo pipefail
runner=$1 players=$2 testdata=${3:-}
work=$(mktemp -d -p "$PWD" players-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

run() { if [ -n "$runner" ]; then "$runner" "$players" "$@"; else "$players" "$@"; fi; }

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect CODE EXPECTED_STDOUT ARGS...: the exit code and the exact output.
expect() {
  local code=$1 want=$2; shift 2
  local got status
  got=$(run "$@" 2>stderr.txt; echo "~$?")
  status=${got##*~}; got=${got%~*}; got=${got%$'\n'}
  [ "$status" = "$code" ] || fail "players $*: exit $status, expected $code"
  [ "$got" = "$want" ] || fail "players $*: output differs:"$'\n'"$got"$'\n'"--- expected:"$'\n'"$want"
}

# expect_error CODE PATTERN ARGS...: an exit code and a message on stderr.
expect_error() {
  local code=$1 pattern=$2; shift 2
  expect "$code" "" "$@"
  grep -q -- "$pattern" stderr.txt || fail "players $*: no message matching '$pattern' on stderr"
}

# A list line of the combined layout: ID NAME FED SEX TITLE RATING BIRTH.
line() {
  local s
  s=$(printf '%-15s%-61s%-3s %-1s   %-5s%-24s%-4s  %-33s%-4s      ' "$1" "$2" "$3" "$4" "$5" "" "$6" "" "$7")
  printf '%s\r\n' "$s"
}
fide_header='ID Number      Name                                                         Fed Sex Tit  WTit OTit           FOA SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag'

T=$'\t'

if [ -n "$testdata" ]; then
  rapid=$testdata/fide/rapid_sep12_combined_layout.txt
  if [ ! -f "$rapid" ]; then
    echo "SKIPPED: $rapid is absent"
    exit 77
  fi
  cp "$rapid" rapid.txt  # a local path works for both builds
  expect 0 "5903" import rapid.txt rapid.dat
  expect 0 "0${T}Carlsen, Magnus (NOR),  GM,  2845 ELO" id rapid.dat 1503014
  navara=$(run word rapid.dat "Navara,D")
  [[ "$navara" =~ ^[0-9]+${T}1${T}"Navara, David (CZE),  GM,  2678 ELO"$ ]] || fail "word Navara,D gave: $navara"
  lines=$(run dump rapid.dat | wc -l)
  [ "$lines" = 5903 ] || fail "dump of the rapid list gave $lines lines"
  [ "$failures" = 0 ] && echo "players: the real list passed"
  exit $((failures > 0))
fi

{
  printf '%-162s\r\n' "$fide_header"
  line 12345678 "Doe, Jane" NOR F WIM 2405 1990
  line 22 "Smith, Bob" XYZ M "" "" 1970
  line 33 "Smith, John" USA M GM 2600 1980
  line 44 "Smyth, John" ENG M CM 2600 ""
  line 55 "de Souza, Ana" BRA F "" 1800 2000
} > list.txt

expect 0 "4" import list.txt small.dat
version=$(run --version)
[[ "$version" =~ ^"players (Velmarsh) "[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "players --version gave: $version"
[ "$(run --version | od -An -tx1 | tr -d ' \n' | tail -c 2)" = 0a ] || fail "players --version does not end its line"
expect 0 "0${T}33${T}Smith, John${T}2600${T}0${T}0${T}192${T}1980
1${T}44${T}Smyth, John${T}2600${T}0${T}6${T}56${T}0
2${T}12345678${T}Doe, Jane${T}2405${T}1${T}4${T}135${T}1990
3${T}22${T}Smith, Bob${T}0${T}0${T}6${T}0${T}1970" dump small.dat

expect 0 "2${T}1${T}Doe, Jane (NOR),  WIM,  2405 ELO" word small.dat "Jane Doe"
expect 0 "0${T}1${T}Smith, John (USA),  GM,  2600 ELO
3${T}1${T}Smith, Bob (???)" word small.dat Smith
expect 0 "0${T}1${T}Smith, John (USA),  GM,  2600 ELO" word small.dat Smith --max 1
expect 0 "0${T}2${T}Smith, John (USA),  GM,  2600 ELO
1${T}7${T}Smyth, John (ENG),  2600 ELO
3${T}251${T}Smith, Bob (???)" ranked small.dat "John Smith"
expect 0 "2${T}Doe, Jane (NOR),  WIM,  2405 ELO" id small.dat 12345678
expect 0 "" id small.dat 99

printf 'Doe, J.\r\nnobody\n\nSmith, Bob' > queries.txt
expect 0 "0${T}2${T}1${T}Doe, Jane (NOR),  WIM,  2405 ELO
3${T}3${T}1${T}Smith, Bob (???)" word small.dat --queries queries.txt --max 2

expect_error 2 "usage:"
expect_error 2 "usage:" frobnicate small.dat
expect_error 2 "usage:" word small.dat
expect_error 2 "usage:" word small.dat Doe Jane
expect_error 2 "usage:" ranked small.dat Doe --max 0
expect_error 2 "usage:" word small.dat Doe --max
expect_error 2 "usage:" id small.dat 12x
expect_error 2 "usage:" import list.txt
expect_error 1 "cannot read missing.dat" dump missing.dat
expect_error 1 "cannot read missing.dat" id missing.dat 5
mkdir -p folder.dat
expect_error 1 "cannot read folder.dat" dump folder.dat

# A damaged database is an error for every verb that reads one, not an
# empty or shorter list: cut inside the last record, one byte too many, a
# count beyond what the file holds.
head -c -3 small.dat > cut.dat
{ cat small.dat; printf 'x'; } > longer.dat
{ printf '\0\0\0\x09'; tail -c +5 small.dat; } > count.dat
printf '[White "Doe, J"]\n\n*\n' > games.pgn
damaged="cut.dat is damaged: 3 of the 4 players it announces could be read"
expect_error 1 "$damaged" dump cut.dat
expect_error 1 "$damaged" word cut.dat Doe
expect_error 1 "$damaged" ranked cut.dat Doe
expect_error 1 "$damaged" id cut.dat 22
expect_error 1 "$damaged" tag cut.dat games.pgn
expect_error 1 "longer.dat is damaged: 4 of the 4 players" dump longer.dat
expect_error 1 "count.dat is damaged: 4 of the 9 players" id count.dat 22
printf '\0\0' > short.dat
expect_error 1 "short.dat is damaged: 0 of the 0 players" dump short.dat
# A PGN file (here with a byte order mark) given as the database.
printf '\xef\xbb\xbf[White "Doe, J"]\n\n*\n' > bom.pgn
expect_error 1 "bom.pgn is not a players.dat" tag bom.pgn games.pgn
expect_error 1 "games.pgn is not a players.dat" dump games.pgn
printf '\0\0\0\0' > empty.dat
expect 0 "" dump empty.dat
expect_error 1 "cannot read missing.txt" word small.dat --queries missing.txt
expect_error 1 "cannot read missing.txt" import missing.txt out.dat
expect_error 1 "cannot write" import list.txt no-such-folder/out.dat
# FIDE's other downloads and a broken download: refused, the database kept.
cp small.dat kept.dat
printf '%-109s%-6s%s\n%-109s%-6s%s\n' "ID Number      Name" "sep12" "Gms K  B-day Flag" "1503014        Carlsen, Magnus" 2845 "0   20 1990" > rapid_sep12frl.txt
printf '<?xml version="1.0" encoding="ISO-8859-1"?>\n<playerslist>\n' > players_list_xml.xml
head -c 600 list.txt > cut.txt
expect_error 1 "rapid_sep12frl.txt is a rapid list" import rapid_sep12frl.txt kept.dat
expect_error 1 "players_list_xml.xml is not a FIDE rating list" import players_list_xml.xml kept.dat
expect_error 1 "cut.txt ends in the middle of a line" import cut.txt kept.dat
cmp -s kept.dat small.dat || fail "a refused list changed the database"

# tag --fit-only: a clear hit is taken only when the game's name fits it;
# --loose takes it anyway. By default the evidence rule leaves Doe, Mary
# alone too, with nobody that fits.
printf '[Event "E"]\n[White "Doe, J."]\n[Black "Doe, Mary"]\n[Result "*"]\n\n*\n' > fit.pgn
run tag small.dat fit.pgn -o evidence.pgn --report evidence.tsv 2>stderr.txt || fail "tag fit.pgn failed"
grep -q '^\[WhiteFIDE "12345678"\]' evidence.pgn && ! grep -q 'BlackFIDE' evidence.pgn || fail "tag: $(cat evidence.pgn)"
grep -q "1 tagged (1 settled by the evidence)" stderr.txt || fail "tag: summary: $(cat stderr.txt)"
run tag small.dat fit.pgn -o strict.pgn --report strict.tsv --fit-only 2>stderr.txt || fail "tag --fit-only failed"
grep -q '^\[WhiteFIDE "12345678"\]' strict.pgn || fail "tag: Doe, J. not taken"
grep -q 'BlackFIDE' strict.pgn && fail "tag: Doe, Mary taken though it does not fit Doe, Jane"
grep -q "^Doe, Mary${T}1${T}ambiguous${T}${T}${T}--loose takes 12345678: the name does not fit Doe, Jane${T}12345678 " \
  strict.tsv || fail "tag: the report does not mark Doe, Mary"
grep -q "1 ambiguous (1 of them taken by --loose)" stderr.txt || fail "tag: summary: $(cat stderr.txt)"
run tag small.dat fit.pgn -o loose.pgn --loose 2>stderr.txt || fail "tag --loose failed"
grep -q '^\[BlackFIDE "12345678"\]' loose.pgn || fail "tag --loose: Doe, Mary not taken"

[ "$failures" = 0 ] && echo "players: all checks passed"
exit $((failures > 0))
