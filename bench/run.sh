#!/usr/bin/env bash
# End-to-end benchmark: times whole runs of Polimreza against the rereading
# baseline on generated inputs, checks that both print the same, and prints
# a table with the ratio and our peak memory against the memory budget.
#   bench/run.sh [BUILD_DIR]      (default: build/bench)
# BUILD_DIR is configured with -DPOLIMREZA_BENCH=ON and built when it has no
# build yet; an existing build is only brought up to date. Environment:
#   BASELINE_TIMEOUT  seconds a baseline run may take (default 900); a run cut
#                     off is shown as "> N s" and its output is not compared
#   REPEAT            runs of each fast command, the median shown (default 5)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/bench/setup.bash"
build="$(realpath -m "${1:-$root/build/bench}")"
timeout_s="${BASELINE_TIMEOUT:-900}"
repeat="${REPEAT:-5}"
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (apt-get install time)" >&2; exit 1; }

configure_bench_build "$root" "$build"
cmake --build "$build" -j2 --target Polimreza polimreza_baseline polimreza_bench_inputs >/dev/null
ours="$build/Polimreza"
baseline="$build/bench/polimreza_baseline"
make_inputs="$build/bench/polimreza_bench_inputs"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$make_inputs" "$scratch"

# Wall time in seconds of one run of "$@" in the current folder, stdout to
# the file named by $out; sets $status to the command's exit status.
time_once() {
  local start end
  start=$EPOCHREALTIME
  status=0
  "$@" >"$out" || status=$?
  end=$EPOCHREALTIME
  seconds=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }')
}

# Median wall time of $repeat runs of "$@".
time_median() {
  local runs=()
  for _ in $(seq "$repeat"); do
    time_once "$@"
    runs+=("$seconds")
  done
  seconds=$(printf '%s\n' "${runs[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
}

# Peak resident memory in KB of one run of "$@".
peak_kb() {
  /usr/bin/time -f %M -o "$scratch/peak" "$@" >/dev/null
  cat "$scratch/peak"
}

list_bytes() { cat "$@" 2>/dev/null | wc -c; }

printf '%-30s %12s %12s %10s %12s %12s %s\n' \
  case baseline ours ratio "peak KB" "budget KB" output
declare -A ours_time

# case name, folder, pattern file, lists the run reads, grid cells
run_case() {
  local name="$1" folder="$2" pattern="$3" lists="$4" cells="$5"
  cd "$folder"
  out="$scratch/ours.out"
  time_median "$ours" "$pattern"
  local ours_s="$seconds"
  ours_time[$name]="$ours_s"
  out="$scratch/base.out"
  time_once timeout "$timeout_s" "$baseline" "$pattern"
  local base_s="$seconds" base_shown ratio same
  if [ "$status" -eq 124 ]; then
    base_shown="> ${timeout_s} s"
    ratio="> $(awk -v b="$timeout_s" -v o="$ours_s" 'BEGIN { printf "%.0f", b / o }')"
    same="baseline cut off"
  else
    base_shown="${base_s} s"
    ratio="$(awk -v b="$base_s" -v o="$ours_s" 'BEGIN { printf "%.1f", b / o }')"
    if cmp -s "$scratch/ours.out" "$scratch/base.out"; then
      same="identical"
    else
      same="DIFFERENT"
      mismatch=1
    fi
  fi
  local peak budget bytes
  peak=$(peak_kb "$ours" "$pattern")
  # shellcheck disable=SC2086
  bytes=$(list_bytes $lists)
  budget=$(( (3 * bytes + 24 * cells + 10 * 1024 * 1024) / 1024 ))
  local last
  last=$(grep -E 'resena|Nazalost' "$scratch/ours.out" | head -1 | cut -c1-20)
  printf '%-30s %12s %12s %10s %12s %12s %s\n' "$name" "$base_shown" \
    "${ours_s} s" "$ratio" "$peak" "$budget" "$same ($last)"
  cd - >/dev/null
}

mismatch=0
for size in 40 80 100 199; do
  run_case "short-slot ${size}x${size}" "$scratch/short" "grid$size.txt" \
    "1.txt 2.txt 3.txt" $((size * size))
done
run_case "realistic 15x15" "$scratch/real" pattern.txt \
  "4.txt 5.txt 6.txt 7.txt 8.txt 9.txt" 225

# Reading the realistic lists once, for the realistic case to compare with.
cd "$scratch/real"
out=/dev/null
time_median "$baseline" --read-lists
read_once="$seconds"
time_median cat 4.txt 5.txt 6.txt 7.txt 8.txt 9.txt
cat_once="$seconds"
time_median "$ours" /nonexistent
startup="$seconds"
cd - >/dev/null
echo
echo "realistic lists: $(list_bytes "$scratch"/real/[4-9].txt) bytes"
printf 'read once, line by line (baseline --read-lists): %s s\n' "$read_once"
printf 'read once with cat:                              %s s\n' "$cat_once"
printf 'our program starting and stopping, no input:     %s s\n' "$startup"
awk -v o="${ours_time[realistic 15x15]}" -v r="$read_once" -v c="$cat_once" 'BEGIN {
  printf "realistic 15x15 total / read once: %.2f (line by line), %.2f (cat)\n", o / r, o / c }'
awk -v a="${ours_time[short-slot 100x100]}" -v b="${ours_time[short-slot 199x199]}" 'BEGIN {
  printf "short-slot 199x199 / 100x100 (our time): %.2f\n", b / a }'
exit "$mismatch"
