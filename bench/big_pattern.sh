#!/usr/bin/env bash
# Big-input check: builds two pattern files of about 100 MB in a scratch
# folder and runs the program on each under /usr/bin/time -v, printing its
# messages, time, peak memory and bytes of peak memory per grid cell.
#   bench/big_pattern.sh [path/to/Polimreza]   (default: build/dev/Polimreza)
# Both files are valid rows of 199 squares; the first ends with a row holding
# a slot of 10 squares, the second with a row holding an illegal character.
# Each must be refused with its message, exit 0, write nothing to stderr, and
# peak below 24 bytes per cell; the script exits 1 otherwise.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/dev/Polimreza}")"
if [ ! -x "$program" ]; then
  echo "No program at $program: build it first (cmake --workflow --preset test)" >&2
  exit 1
fi
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (apt-get install time)" >&2; exit 1; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# Ten rows of 199 squares: nine of slots of 9 squares with a block after
# each, then a row of blocks, so no slot across or down is longer than 9.
open_row="$(printf '*********#%.0s' {1..19})*********"
block_row="$(printf '#%.0s' {1..199})"
block=""
for _ in 1 2 3 4 5 6 7 8 9; do block+="$open_row"$'\r\n'; done
block+="$block_row"$'\r'  # yes adds the line feed
blocks=50000  # 500,000 rows of 201 bytes: about 100 MB
tail_block_row="$block_row"

make_pattern() {  # make_pattern FILE LAST_ROW
  # yes ends on the broken pipe once head has its rows.
  (set +o pipefail; yes "$block" | head -n $((blocks * 10)) >"$1")
  printf '%s\r\n%s\r\n' "$tail_block_row" "$2" >>"$1"
}
make_pattern long_slot.txt "**********$(printf '#%.0s' {1..189})"
make_pattern illegal_last.txt "$(printf '*********#%.0s' {1..19})********a"
rows=$((blocks * 10 + 2))

status=0
measure() {  # measure FILE EXPECTED_MESSAGE
  local file="$1" expected="$2"
  set +e
  /usr/bin/time -v -o time.txt "$program" "$file" >out.txt 2>err.txt
  local exit_code=$?
  set -e
  local dims width height cells rss_kb elapsed per_cell
  dims="$(head -n 1 out.txt)"
  width="$(sed -n 's/^MaxVodoravno:\([0-9]*\), MaxUspravno:\([0-9]*\)$/\1/p' <<<"$dims")"
  height="$(sed -n 's/^MaxVodoravno:\([0-9]*\), MaxUspravno:\([0-9]*\)$/\2/p' <<<"$dims")"
  cells=$((width * height))
  rss_kb="$(sed -n 's/.*Maximum resident set size (kbytes): //p' time.txt)"
  elapsed="$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' time.txt)"
  per_cell="$(awk -v r="$rss_kb" -v c="$cells" 'BEGIN { printf "%.2f", r * 1024 / c }')"
  echo "== $file: $(stat -c %s "$file") bytes, $width x $height = $cells cells"
  sed 's/^/   | /' out.txt
  echo "   exit status $exit_code, stderr $(stat -c %s err.txt) bytes"
  echo "   wall $elapsed, user $(sed -n 's/.*User time (seconds): //p' time.txt) s," \
       "system $(sed -n 's/.*System time (seconds): //p' time.txt) s"
  echo "   peak RSS $rss_kb KiB = $per_cell bytes per cell"
  if [ "$exit_code" -ne 0 ] || [ -s err.txt ] ||
     [ "$(cat out.txt)" != "$expected" ] ||
     ! awk -v p="$per_cell" 'BEGIN { exit !(p < 24) }'; then
    echo "   FAILED"
    status=1
  fi
}

dimension_line="MaxVodoravno:199, MaxUspravno:$rows"
measure long_slot.txt "$dimension_line
Rec na mestu (1,$rows) vodoravno ima 10 polja, a najvise moze da ima 9
Program ce se ugasiti"
measure illegal_last.txt "$dimension_line
Ilegalan karakter u fajlu
Program ce se ugasiti"
exit $status
