#!/usr/bin/env bash
# The studio benchmark: runs polimreza-studio on 15x15 patterns with the
# Serbian dictionary's words (about 100,000 of them) and prints each figure
# beside its target: the candidate list of a square through HTTP, a fill
# through the API against polimreza-fill, the page's first paint in headless
# Chromium, the server's resident memory with the lists loaded.
#   bench/studio_bench.sh [BUILD_DIR]      (default: build/bench)
# BUILD_DIR is configured (Release, -DPOLIMREZA_BENCH=ON) when it has no
# build yet. The measuring is done by studio_bench.py beside this script.
# Installs hunspell-sr, icu-devtools, chromium, chromium-driver and
# python3-selenium with apt-get when missing. Environment:
#   PATTERNS   patterns of bench/fill_patterns to use (default
#              "15-18-01 15-24-01 15-30-01"); a name ending in L is one of
#              its long-entry patterns ("15-21-01L": slots up to 15 letters)
#   ALPHABETS  lists to run, of "ascii" (the words folded to A-Z) and
#              "sr-cyrl" (default both)
#   LIMIT      the limit of each candidate list (default 50, what the page
#              asks first; "Prikazi jos" asks 200, then 1000)
#   ROUNDS     runs of each fill, the median kept (default 5)
#   LOADS      page loads, each in a fresh browser (default 5)
#   KEEP       a folder to keep the inputs in
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/bench/setup.bash"
build="$(realpath -m "${1:-$root/build/bench}")"
patterns="${PATTERNS:-15-18-01 15-24-01 15-30-01}"
alphabets="${ALPHABETS:-ascii sr-cyrl}"
rounds="${ROUNDS:-5}"
loads="${LOADS:-5}"
python=/usr/bin/python3

missing=()
[ -f /usr/share/hunspell/sr_RS.dic ] || missing+=(hunspell-sr)
[ -x /usr/bin/chromium ] || missing+=(chromium)
[ -x /usr/bin/chromedriver ] || missing+=(chromium-driver)
[ -x "$python" ] && "$python" -c 'import selenium' 2>/dev/null ||
  missing+=(python3-selenium)
install_missing "${missing[@]}"

configure_bench_build "$root" "$build"
cmake --build "$build" -j2 --target polimreza-studio polimreza-fill \
  polimreza-lists polimreza_fill_patterns >/dev/null

make_work_folder

# --- Inputs ------------------------------------------------------------------
"$build/bench/polimreza_fill_patterns" "$work/patterns" 10 >/dev/null
"$build/bench/polimreza_fill_patterns" "$work/long" 10 long >/dev/null
for file in "$work/long"/*.txt; do
  mv "$file" "$work/patterns/$(basename "${file%.txt}")L.txt"
done
files=()
for name in $patterns; do files+=("$work/patterns/$name.txt"); done
# The lists as polimreza-lists writes them from the hunspell dictionaries
# (1 to 25 letters): the Latin one folded to A-Z, the Cyrillic one in its
# 30 letters.
mkdir -p "$work/ascii" "$work/sr-cyrl" "$work/run"
"$build/polimreza-lists" --output "$work/ascii" \
  /usr/share/hunspell/sr_Latn_RS.dic >/dev/null
"$build/polimreza-lists" --alphabet sr-cyrl --output "$work/sr-cyrl" \
  /usr/share/hunspell/sr_RS.dic >/dev/null

# --- Runs --------------------------------------------------------------------
declare -A figure
for alphabet in $alphabets; do
  while IFS=$'\t' read -r key value; do
    figure[$alphabet.$key]="$value"
  done < <("$python" "$root/bench/studio_bench.py" "$build/polimreza-studio" \
    "$build/polimreza-fill" "$alphabet" "$work/$alphabet" "$work/run" \
    "$rounds" "$loads" "${files[@]}")
done

# --- Table -------------------------------------------------------------------
ms() { awk -v s="$1" 'BEGIN { printf "%.1f ms", s * 1000 }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b ? "yes" : "NO") }'; }
echo "Patterns: $patterns (15x15); fills: median of $rounds runs a pattern,"
echo "then the median over the patterns; first paint: $loads loads;"
echo "candidate lists asked with limit ${LIMIT:-50}."
for alphabet in $alphabets; do
  f() { echo "${figure[$alphabet.$1]}"; }
  echo
  echo "$alphabet: $(f words) words in 1.txt..25.txt;" \
    "first candidate list of the server: $(ms "$(f cold_candidates)")"
  printf '%-44s %-22s %-12s %s\n' figure measured target met
  printf '%-44s %-22s %-12s %s\n' \
    "candidates p95 ($(f candidates_n) requests)" \
    "$(ms "$(f candidates_p95)")" "< 20 ms" \
    "$(below "$(f candidates_p95)" 0.020)"
  printf '%-44s %-22s %-12s %s\n' "candidates p50 / max" \
    "$(ms "$(f candidates_p50)") / $(ms "$(f candidates_max)")" - -
  if [ -n "$(f long_n)" ]; then
    printf '%-44s %-22s %-12s %s\n' \
      "slots of 15+ letters p95 ($(f long_n))" \
      "$(ms "$(f long_p95)")" "< 20 ms" "$(below "$(f long_p95)" 0.020)"
    printf '%-44s %-22s %-12s %s\n' "slots of 15+ letters p50 / max" \
      "$(ms "$(f long_p50)") / $(ms "$(f long_max)")" - -
  fi
  printf '%-44s %-22s %-12s %s\n' \
    "first question of each slot p95 ($(f first_n))" \
    "$(ms "$(f first_p95)")" "(< 20 ms)" "$(below "$(f first_p95)" 0.020)"
  printf '%-44s %-22s %-12s %s\n' "first question of each slot p50 / max" \
    "$(ms "$(f first_p50)") / $(ms "$(f first_max)")" - -
  gap=$(awk -v a="$(f fill_api)" -v b="$(f fill_program)" 'BEGIN { print a - b }')
  printf '%-44s %-22s %-12s %s\n' "fill: API - polimreza-fill" \
    "$(ms "$gap")" "<= 50 ms" "$(below "$gap" 0.0500001)"
  printf '%-44s %-22s %-12s %s\n' "fill: API / polimreza-fill" \
    "$(ms "$(f fill_api)") / $(ms "$(f fill_program)")" - -
  if [ "$loads" -gt 0 ]; then
    printf '%-44s %-22s %-12s %s\n' "first contentful paint (median)" \
      "$(ms "$(f paint_median)")" "< 1000 ms" \
      "$(below "$(f paint_max)" 1)"
    printf '%-44s %-22s %-12s %s\n' "first contentful paint (max) / grid seen" \
      "$(ms "$(f paint_max)") / $(ms "$(f grid_median)")" - -
  fi
  printf '%-44s %-22s %-12s %s\n' "server VmRSS after the runs (VmHWM)" \
    "$(f rss_kb) KB ($(f hwm_kb))" "< 102400 KB" \
    "$(below "$(f rss_kb)" 102400)"
  printf '%-44s %-22s %-12s %s\n' "the same, with the lists of 1 to 25 letters" \
    "$(f hwm_kb) KB (VmHWM)" "< 153600 KB" "$(below "$(f hwm_kb)" 153600)"
done
[ -n "${KEEP:-}" ] && echo "Inputs: $work"
exit 0
