#!/usr/bin/env bash
# Real failures while polimreza-lists and polimreza-export read and write:
# memory limits (ulimit -v), renames made to fail or to kill the program
# (strace's fault injection), and runs into one folder at the same time.
# Each must leave the whole old set of lists or the whole new one, no
# temporary file, and a message that says which. Runs the programs in
# build/dev (or in $POLIMREZA_BIN), which must have been built just before.
set -euo pipefail
cd "$(dirname "$0")/../.."

if ! command -v strace >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq strace
fi

bin=${POLIMREZA_BIN:-$PWD/build/dev}
lists=$bin/polimreza-lists
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
repo=$PWD
cd "$work"

fail() {
  echo "file_failures: $*" >&2
  exit 1
}

# Two sources whose lists differ in every file: a few thousand words of
# each length, with the source's name as their clue. Every run writes the
# nine lists 1.txt to 9.txt (--max-length 9).
for source in a b; do
  awk -v clue="$source" 'BEGIN {
    for (length_ = 1; length_ <= 9; ++length_)
      for (i = 0; i < 3000; ++i) {
        word = ""; n = i
        for (k = 0; k < length_; ++k) { word = word sprintf("%c", 65 + n % 26); n = int(n / 26) }
        print word ";" clue
      }
  }' >"$source.txt"
  mkdir "ref_$source"
  "$lists" --max-length 9 -o "ref_$source" "$source.txt" >/dev/null
done

# Which source every list in folder $1 comes from ("a", "b"), or "mixed".
whole_set() {
  local source length
  for source in a b; do
    for length in 1 2 3 4 5 6 7 8 9; do
      cmp -s "$1/$length.txt" "ref_$source/$length.txt" || continue 2
    done
    echo "$source"
    return
  done
  echo mixed
}

# Fails unless folder $1 holds nothing but the nine lists.
no_leftovers() {
  local extra
  extra=$(ls -A "$1" | grep -vx '[1-9]\.txt' || true)
  [ -z "$extra" ] || fail "$2: left behind: $extra"
}

# A source cut short by memory running out is never taken as complete: the
# run either reads it all or says so and writes nothing.
{
  echo PRVA
  awk 'BEGIN { line = sprintf("%999s", ""); for (i = 0; i < 80000; ++i) print line }'
  echo UNIKAT
} >mid.txt
for limit in 200000 100000; do
  rm -rf mid && mkdir mid
  status=0
  (ulimit -v "$limit" && "$lists" --max-length 9 -o mid mid.txt) >mid.out 2>/dev/null ||
    status=$?
  if [ "$status" -eq 0 ]; then
    grep -q '^  mid.txt (reci): 2 reci$' mid.out ||
      fail "ulimit -v $limit: a source cut short: $(grep 'mid.txt' mid.out)"
    grep -q '^UNIKAT;' mid/6.txt || fail "ulimit -v $limit: UNIKAT lost"
  else
    [ "$status" -eq 1 ] || fail "ulimit -v $limit: exit status $status"
    grep -qx 'Nema dovoljno memorije' mid.out ||
      fail "ulimit -v $limit: $(head -n 1 mid.out)"
    [ -z "$(ls -A mid)" ] || fail "ulimit -v $limit: wrote $(ls -A mid)"
  fi
done
# This limit leaves too little memory for the source at all.
[ "$status" -eq 1 ] || fail "ulimit -v 100000 did not run out of memory"

# The fifth rename of a --force run fails: lists 1-4 go back to the old.
mkdir old && cp ref_a/*.txt old/
status=0
strace -f -o /dev/null -e trace=rename -e inject=rename:error=EIO:when=5 \
  "$lists" --max-length 9 -f -o old b.txt >rename.out 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "failed rename: exit status $status"
grep -qx 'Nista nije zapisano' rename.out || fail "$(cat rename.out)"
[ "$(whole_set old)" = a ] || fail "failed rename: the old lists changed"
no_leftovers old "failed rename"

# Every rename from the fifth on fails, undoing too: the message names the
# four lists left new and where their old contents are, never "nothing".
status=0
strace -f -o /dev/null -e trace=rename -e inject=rename:error=EIO:when=5+ \
  "$lists" --max-length 9 -f -o old b.txt >undo.out 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "failed undo: exit status $status"
grep -q 'Nista nije zapisano' undo.out && fail "failed undo: $(cat undo.out)"
for length in 1 2 3 4; do
  former=$(sed -n "s|^Fajl old/$length.txt je ipak zamenjen: .* je u ||p" undo.out)
  cmp -s "$former" "ref_a/$length.txt" && cmp -s old/$length.txt ref_b/$length.txt ||
    fail "failed undo: $length.txt: $(cat undo.out)"
done
cp ref_a/*.txt old/

# A run killed in the middle of its renames leaves temporary files; the
# next run into the folder removes them.
status=0
# (In a group, so that the shell's news of its death goes nowhere.)
{
  strace -f -o /dev/null -e trace=rename -e inject=rename:signal=KILL:when=3 \
    "$lists" --max-length 9 -f -o old b.txt
} >/dev/null 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "the run was not killed"
[ -n "$(ls -A old | grep -vx '[1-9]\.txt')" ] ||
  fail "the killed run left nothing to remove"
"$lists" --max-length 9 -f -o old a.txt >/dev/null
[ "$(whole_set old)" = a ] || fail "after a killed run: mixed lists"
no_leftovers old "after a killed run"

# Two runs into one folder at the same time, 20 times: each ends with
# status 0 and the folder holds all nine lists of one source.
mkdir pair
for i in $(seq 20); do
  "$lists" --max-length 9 -f -o pair a.txt >/dev/null & first=$!
  "$lists" --max-length 9 -f -o pair b.txt >/dev/null & second=$!
  wait "$first" && wait "$second" || fail "pair $i: a run failed"
  [ "$(whole_set pair)" != mixed ] || fail "pair $i: a mixed set of lists"
  no_leftovers pair "pair $i"
done

# polimreza-export under a memory limit its report does not fit in: the
# message, status 1 and no file, never an abort or a file without the clue.
report=$repo/tests/e2e/export_all_formats/files/report.txt
{
  sed '$d' "$report"
  printf '%s' "$(tail -n 1 "$report" | tr -d '\r\n')"
  head -c 120000000 /dev/zero | tr '\0' x
  printf '\r\n'
} >big.txt
# At the lower limit the report fits but the clue's display text does not.
for limit in 300000 600000; do
  rm -f big.ipuz
  status=0
  (ulimit -v "$limit" && "$bin/polimreza-export" big.txt --ipuz big.ipuz) \
    >export.out 2>/dev/null || status=$?
  if [ "$status" -eq 0 ]; then
    [ "$(stat -c %s big.ipuz)" -gt 120000000 ] ||
      fail "export under ulimit -v $limit: the long clue is missing"
    continue
  fi
  [ "$status" -eq 1 ] || fail "export under ulimit -v $limit: status $status"
  grep -qx 'Nema dovoljno memorije' export.out || fail "$(cat export.out)"
  [ ! -e big.ipuz ] || fail "export under ulimit -v $limit wrote big.ipuz"
done
echo "file_failures: ok"
