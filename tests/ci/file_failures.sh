#!/usr/bin/env bash
# Real failures while polimreza-lists and polimreza-export read and write:
# memory limits (ulimit -v). Each must read its input whole or say that
# memory ran out and write nothing. Runs the programs in build/dev (or in
# $POLIMREZA_BIN), which must have been built just before.
set -euo pipefail
cd "$(dirname "$0")/../.."

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
  (ulimit -v "$limit" && "$lists" -o mid mid.txt) >mid.out 2>/dev/null ||
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

# polimreza-export under a memory limit its report does not fit in: the
# message, status 1 and no file, never an abort or a file without the clue.
report=$repo/tests/e2e/export_all_formats/files/report.txt
{
  sed '$d' "$report"
  printf '%s' "$(tail -n 1 "$report" | tr -d '\r\n')"
  head -c 120000000 /dev/zero | tr '\0' x
  printf '\r\n'
} >big.txt
status=0
(ulimit -v 600000 && "$bin/polimreza-export" big.txt --ipuz big.ipuz) \
  >export.out 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "export under a memory limit: exit status $status"
grep -qx 'Nema dovoljno memorije' export.out || fail "$(cat export.out)"
[ ! -e big.ipuz ] || fail "export under a memory limit wrote big.ipuz"
echo "file_failures: ok"
