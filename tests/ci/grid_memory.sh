#!/usr/bin/env bash
# A pattern whose grid does not fit in the memory the programs may use
# (limited with ulimit -v): Polimreza prints the dimension line and nothing
# more, exits 0 and writes nothing to stderr; polimreza-fill says there is
# not enough memory and exits 2. Assumes build/dev was built just before.
set -euo pipefail
cd "$(dirname "$0")/../.."

polimreza=$PWD/build/dev/Polimreza
fill=$PWD/build/dev/polimreza-fill
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "grid_memory: $*" >&2
  exit 1
}

# 199 x 400000 squares: about 80 MB of pattern, 320 MB of grid. Reading the
# pattern takes little memory, allocating its grid more than the limit.
rows=400000
row=$(printf '%*s' 199 '' | tr ' ' '*')
head -n "$rows" < <(yes "$row") > "$work/big.txt"
limit_kb=250000

cd "$work"
status=0
(ulimit -v "$limit_kb"; exec "$polimreza" big.txt) > out.txt 2> err.txt ||
  status=$?
[ "$status" -eq 0 ] || fail "Polimreza exited $status"
[ ! -s err.txt ] || fail "Polimreza wrote to stderr: $(head -c 300 err.txt)"
printf 'MaxVodoravno:199, MaxUspravno:%d\n' "$rows" > expected.txt
cmp -s out.txt expected.txt ||
  fail "Polimreza printed $(head -c 300 out.txt | od -c | head -5)"

status=0
(ulimit -v "$limit_kb"; exec "$fill" --quiet big.txt) > out.txt 2> err.txt ||
  status=$?
[ "$status" -eq 2 ] || fail "polimreza-fill exited $status"
printf 'Nema dovoljno memorije\nProgram ce se ugasiti\n' > expected.txt
cmp -s out.txt expected.txt ||
  fail "polimreza-fill printed $(head -c 300 out.txt | od -c | head -5)"
grep -qx 'polimreza-fill: Nema dovoljno memorije' err.txt ||
  fail "polimreza-fill stderr: $(head -c 300 err.txt)"
echo "grid_memory: both programs end as expected without memory for the grid"
