#!/usr/bin/env bash
# Checks `players tag`: the tags written and where, the report and the
# choices read back from it, the options, standard input and output, the
# in-place replacement, exit codes and messages; and that real bases without
# a match in the database come out byte for byte.
# Usage: players_tag_test.sh RUNNER PLAYERS TESTDATA (RUNNER may be empty,
# or the program that runs a Windows build).
set -uo pipefail
runner=$1 players=$2 testdata=$3
work=$(mktemp -d -p "$PWD" players-tag-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
T=$'\t'

run() { if [ -n "$runner" ]; then "$runner" "$players" "$@"; else "$players" "$@"; fi; }
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# tag CODE ARGS...: runs `players tag` and checks its exit code.
tag() {
  local code=$1; shift
  run tag "$@" >stdout.txt 2>stderr.txt
  local status=$?
  [ "$status" = "$code" ] || fail "players tag $*: exit $status, expected $code: $(cat stderr.txt)"
}
# same FILE EXPECTED_TEXT: the file holds exactly that text.
same() {
  printf '%s' "$2" > expected.txt
  cmp -s "$1" expected.txt || fail "$1 differs:"$'\n'"$(diff expected.txt "$1")"
}
message() { grep -q -- "$1" stderr.txt || fail "no message matching '$1': $(cat stderr.txt)"; }

line() {
  local s
  s=$(printf '%-15s%-61s%-3s %-1s   %-5s%-24s%-4s  %-33s%-4s      ' "$1" "$2" "$3" "$4" "$5" "" "$6" "" "$7")
  printf '%s\r\n' "$s"
}
fide_header='ID Number      Name                                                         Fed Sex Tit  WTit OTit           FOA SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag'
{
  printf '%-162s\r\n' "$fide_header"
  line 12345678 "Doe, Jane" NOR F WIM 2405 1990
  line 22 "Smith, Bob" XYZ M "" "" 1970
  line 33 "Smith, John" USA M GM 2600 1980
  line 44 "Smyth, John" ENG M CM 2600 ""
} > list.txt
run import list.txt small.dat >/dev/null || fail "import"

# Four games: a name found by one clear hit and completed by its FIDE ID
# elsewhere, an ambiguous one, one found by both words, an anonymous one,
# one without any candidate, and a game the reader refuses.
games='[Event "E1"]
[White "Doe, J"]
[Black "Smith"]
[Result "1-0"]

1. e4 {comment} 1-0

[Event "E2"]
[White "Smith, John"]
[Black "Anonymous"]
[WhiteElo "2500"]
[Result "*"]

*

[Event "E3"]
[White "Nobody, X"]
[Black "Doe, J"]
[BlackFIDE "12345678"]
[BlackElo "2400"]

1. d4 *

[Event "Broken]

1. c4 *
'
printf '%s' "$games" > games.pgn
tagged='[Event "E1"]
[White "Doe, J"]
[Black "Smith"]
[Result "1-0"]
[WhiteFIDE "12345678"]
[WhiteElo "2405"]
[WhiteCountry "NOR"]

1. e4 {comment} 1-0

[Event "E2"]
[White "Smith, John"]
[Black "Anonymous"]
[WhiteElo "2500"]
[Result "*"]
[WhiteFIDE "33"]
[WhiteCountry "USA"]

*

[Event "E3"]
[White "Nobody, X"]
[Black "Doe, J"]
[BlackFIDE "12345678"]
[BlackElo "2400"]
[BlackCountry "NOR"]

1. d4 *

[Event "Broken]

1. c4 *
'
tag 0 small.dat games.pgn -o out.pgn --report report.tsv
same out.pgn "$tagged"
message "4 games (1 damaged, copied unchanged), 5 names: 2 tagged (2 settled by the evidence), 0 already present, 1 ambiguous, 1 not found, 1 other"
same report.tsv "name${T}games${T}result${T}fide_id${T}choice${T}note${T}candidates
Anonymous${T}1${T}anonymous${T}${T}${T}
Doe, J${T}2${T}found${T}12345678${T}${T}1 fits; no Elo to compare${T}12345678 Doe, Jane (NOR),  WIM,  2405 ELO
Nobody, X${T}1${T}not found${T}${T}${T}no player fits
Smith${T}1${T}ambiguous${T}${T}${T}asked: at least 2 fit, nothing in the games to tell them apart${T}33 Smith, John (USA),  GM,  2600 ELO${T}22 Smith, Bob (???)
Smith, John${T}1${T}found${T}33${T}${T}1 fits; Elo 2500 vs 2600${T}33 Smith, John (USA),  GM,  2600 ELO
${T}1${T}damaged game${T}${T}${T}game 4, line 24: value of tag Event is not closed
"

# The report with a choice filled in settles the name; the next report
# shows it.
awk -F'\t' 'BEGIN { OFS = "\t" } $1 == "Smith" { $5 = "22" } { print }' report.tsv > choices.tsv
tag 0 small.dat games.pgn -o chosen.pgn --choices choices.tsv --report chosen.tsv
same chosen.pgn "${tagged/'[WhiteCountry "NOR"]'/'[WhiteCountry "NOR"]
[BlackFIDE "22"]'}"
grep -q "^Smith${T}1${T}chosen${T}22${T}22${T}asked: [^${T}]*${T}33 " chosen.tsv || fail "chosen row: $(grep ^Smith chosen.tsv)"
printf 'Smith\t\t\t\t99\n' > unknown.tsv
tag 0 small.dat games.pgn -o unknown.pgn --choices unknown.tsv --report unknown-report.tsv
same unknown.pgn "$tagged"
grep -q "^Smith${T}1${T}ambiguous${T}${T}99${T}the chosen FIDE ID is not in the database; asked: " unknown-report.tsv ||
  fail "unknown choice: $(grep ^Smith unknown-report.tsv)"
printf 'Smith\t\t\t\tJohn\n' > bad.tsv
tag 1 small.dat games.pgn -o bad.pgn --choices bad.tsv
message 'bad.tsv, line 1: the choice "John" is not a FIDE ID'

# Standard input and output; the report on standard output.
run tag small.dat - < games.pgn > piped.pgn 2>stderr.txt || fail "tag from standard input"
cmp -s piped.pgn out.pgn || fail "standard input to standard output differs from -o"
tag 0 small.dat games.pgn -o /dev/null --report -
cmp -s stdout.txt report.tsv || fail "the report on standard output differs"

# In place: replaced in one step; on failure the file stays as it was.
printf '%s' "$games" > inplace.pgn
tag 0 small.dat inplace.pgn --in-place
same inplace.pgn "$tagged"
printf '%s' "$games" > blocked.pgn
mkdir blocked.pgn.tagging
tag 1 small.dat blocked.pgn --in-place
message "cannot write blocked.pgn.tagging"
same blocked.pgn "$games"

# The options: the plug-in's settings file, every flag on; then the flags
# from the command line.
printf '\1\1\1\1\1\1\1\1\1' > player_info.dat
tag 0 small.dat games.pgn -o all.pgn --settings player_info.dat
grep -q '^\[BlackElo "2405"\]$' all.pgn || fail "overwrite Elo"
grep -q '^\[Black "Doe, Jane"\]$' all.pgn || fail "change name"
tr '\n' ' ' < all.pgn | grep -q '\[WhiteFIDE "12345678"\] \[WhiteTitle "WIM"\] \[WhiteElo "2405"\] \[WhiteSex "F"\] \[WhiteCountry "NOR"\]' ||
  fail "all tags in the plug-in's order: $(cat all.pgn)"
tag 0 small.dat games.pgn -o none.pgn --write none
[ "$(grep -c -E 'Elo "24|Country' none.pgn)" = 1 ] || fail "--write none wrote more than FIDE IDs"
grep -q '^\[WhiteFIDE "33"\]$' none.pgn || fail "--write none: FIDE ID"
tag 0 small.dat games.pgn -o elo.pgn --write elo --overwrite elo --change-name
grep -q '^\[WhiteElo "2600"\]$' elo.pgn && grep -q '^\[BlackElo "2405"\]$' elo.pgn || fail "--overwrite elo"
grep -q 'Country' elo.pgn && fail "--write elo wrote a country"
printf '\1\1\1\1' > short_info.dat
tag 0 small.dat games.pgn -o short.pgn --settings short_info.dat --write country
grep -q 'Title\|Sex\|WhiteElo "2405"' short.pgn && fail "a short settings file turns off what it lacks"

# WhiteFideId counts as the FIDE ID only with --fideid-tags.
printf '[White "Smith"]\n[WhiteFideId "44"]\n\n*\n' > fideid.pgn
tag 0 small.dat fideid.pgn -o fideid-out.pgn
cmp -s fideid-out.pgn fideid.pgn || fail "WhiteFideId used without --fideid-tags"
tag 0 small.dat fideid.pgn -o fideid-out.pgn --fideid-tags --report fideid.tsv
same fideid-out.pgn $'[White "Smith"]\n[WhiteFideId "44"]\n[WhiteElo "2600"]\n[WhiteCountry "ENG"]\n\n*\n'
grep -q "^Smith${T}1${T}by id${T}44${T}" fideid.tsv || fail "by id row: $(cat fideid.tsv)"

# --extended: the tolerant search's candidates for a name without a hit.
printf '[White "Smitx, J"]\n\n*\n' > typo.pgn
tag 0 small.dat typo.pgn -o /dev/null --report typo.tsv
grep -q "^Smitx, J${T}1${T}not found${T}${T}${T}no player fits\$" typo.tsv || fail "typo without --extended: $(cat typo.tsv)"
tag 0 small.dat typo.pgn -o /dev/null --report typo.tsv --extended
grep -q "^Smitx, J${T}1${T}not found${T}${T}${T}no player fits${T}33 Smith, John (USA),  GM,  2600 ELO${T}22 Smith, Bob (???)\$" typo.tsv ||
  fail "typo with --extended: $(cat typo.tsv)"

# The reading rules, each with its smallest case: a comment holding a
# header, lines among tag pairs, headers one after another, games without
# tags, a game on one line with CR line ends, a byte order mark after empty
# lines. Tags go only into the header of the game whose player they name.
printf '[White "Doe, Jane"]\n\n1. e4 {see\n\n[Event "x"]\n[White "Smith, John"]\n} 1-0\n' > comment.pgn
tag 0 small.dat comment.pgn -o comment-out.pgn
same comment-out.pgn $'[White "Doe, Jane"]\n[WhiteFIDE "12345678"]\n[WhiteElo "2405"]\n[WhiteCountry "NOR"]\n\n1. e4 {see\n\n[Event "x"]\n[White "Smith, John"]\n} 1-0\n'
message "1 games (0 damaged"
printf '[White "Doe, Jane"]\n%%x\n[Black "Smith, John"]\n; note\n\n[Result "*"]\n' > split.pgn
tag 0 small.dat split.pgn -o split-out.pgn
same split-out.pgn $'[White "Doe, Jane"]\n%x\n[Black "Smith, John"]\n; note\n\n[Result "*"]\n[WhiteFIDE "12345678"]\n[WhiteElo "2405"]\n[WhiteCountry "NOR"]\n[BlackFIDE "33"]\n[BlackElo "2600"]\n[BlackCountry "USA"]\n'
printf '[White "Doe, Jane"]\n[White "Smith, John"]' > joined.pgn
tag 0 small.dat joined.pgn -o joined-out.pgn
same joined-out.pgn $'[White "Doe, Jane"]\n[WhiteFIDE "12345678"]\n[WhiteElo "2405"]\n[WhiteCountry "NOR"]\n[White "Smith, John"]\n[WhiteFIDE "33"]\n[WhiteElo "2600"]\n[WhiteCountry "USA"]'
message "2 games (0 damaged"
printf '1. e4 e5 1-0\n1. d4 d5 0-1\n1. c4 * 1. Nf3 1/2-1/2' > headerless.pgn
tag 0 small.dat headerless.pgn -o headerless-out.pgn
cmp -s headerless-out.pgn headerless.pgn || fail "games without tags changed"
message "4 games (0 damaged"
printf '[White "Doe, Jane"] [Result "1-0"] 1. e4 1-0\r[White "Smith, John"]\r\r*\r' > oneline.pgn
tag 0 small.dat oneline.pgn -o oneline-out.pgn
same oneline-out.pgn $'[White "Doe, Jane"] [Result "1-0"]\r[WhiteFIDE "12345678"]\r[WhiteElo "2405"]\r[WhiteCountry "NOR"] 1. e4 1-0\r[White "Smith, John"]\r[WhiteFIDE "33"]\r[WhiteElo "2600"]\r[WhiteCountry "USA"]\r\r*\r'
printf '\n\n\xef\xbb\xbf[White "Doe, Jane"]\n[Black "Smith, John"]\n\n*\n' > bom.pgn
tag 0 small.dat bom.pgn -o /dev/null --report bom.tsv
message "1 games (0 damaged, copied unchanged), 2 names"

# Names that name nobody ("?", "-", a missing name, "NN", "N. N.") get tags
# only from their own game's FIDE ID, by every rule: never another game's
# player, never renamed, no name tag added.
unknown='[White "?"]
[WhiteFIDE "12345678"]

*

[White "?"]

*

[Black "-"]

*

[White "NN"]
[Black "N. N."]

*
'
printf '%s' "$unknown" > unknown.pgn
for options in "" "--loose" "--loose --change-name" "--change-name"; do
  tag 0 small.dat unknown.pgn -o unknown-out.pgn --report unknown.tsv $options
  same unknown-out.pgn "${unknown/'[WhiteFIDE "12345678"]'/'[WhiteFIDE "12345678"]
[WhiteElo "2405"]
[WhiteCountry "NOR"]'}"
done
same unknown.tsv "name${T}games${T}result${T}fide_id${T}choice${T}note${T}candidates
-${T}1${T}unknown name${T}${T}${T}
?${T}3${T}by id${T}12345678${T}${T}
N. N.${T}1${T}unknown name${T}${T}${T}
NN${T}1${T}unknown name${T}${T}${T}
"
printf 'NN\t\t\t\t33\n' > unknown-choice.tsv
tag 0 small.dat unknown.pgn -o unknown-out.pgn --choices unknown-choice.tsv --report unknown.tsv
grep -q "^NN${T}1${T}unknown name${T}${T}33${T}a name that names nobody takes no choice" unknown.tsv ||
  fail "a choice for an unknown name: $(grep ^NN unknown.tsv)"
grep -q 'FIDE "33"' unknown-out.pgn && fail "a choice gave an unknown name a player"

# Bad command lines and bad input.
tag 2 small.dat
tag 2 small.dat games.pgn --frobnicate
tag 2 small.dat games.pgn -o x.pgn --in-place
tag 2 small.dat - --in-place
tag 2 small.dat games.pgn -o games.pgn
message "use --in-place"
tag 2 small.dat games.pgn --write title,colour
tag 2 small.dat games.pgn --report -
tag 1 small.dat missing.pgn -o x.pgn
message "cannot read missing.pgn"
tag 1 missing.dat games.pgn -o x.pgn
tag 1 small.dat games.pgn --settings missing.dat -o x.pgn

# Real bases against a database none of their names is in: byte for byte,
# with LF, CR LF and without a final line end.
{ printf '%-162s\r\n' "$fide_header"; line 7 "Qwxyzzy, Vlorp" NOR M GM 2500 1990; } > nobody.txt
run import nobody.txt nobody.dat >/dev/null || fail "import nobody"
for pgn in "$testdata"/pgn/*.pgn; do
  [ -f "$pgn" ] || continue
  cp "$pgn" base.pgn
  tag 0 nobody.dat base.pgn -o same.pgn
  cmp -s same.pgn base.pgn || fail "$(basename "$pgn") changed without a match"
done

[ "$failures" = 0 ] && echo "players tag: all checks passed"
exit $((failures > 0))
