#!/usr/bin/env bash
# The fill benchmark: times polimreza-fill against qxw's batch autofill on the
# same generated patterns and lists, checks every fill either program claims
# with polimreza_fill_check, and prints a table per class and language. The
# Serbian words also run in the 30 Serbian letters ("cyrl": polimreza-lists
# --alphabet sr-cyrl, polimreza-fill --alphabet sr-cyrl), against the A-Z
# lists polimreza-lists writes from the same dictionary ("az": the same
# words, order and tiers, only folded to A-Z) and against the Latin
# dictionary folded to A-Z in its own order ("sr"); qxw runs on "sr" and
# "en" only. The long-entry classes ("long": 13x13 to 17x17, runs as long as
# the grid) run on lists of 1 to 25 letters from the same sources, the
# English ones with WordNet's multiword lemmas run together (ice_cream:
# ICECREAM), the Serbian ones in A-Z for both programs and in Cyrillic for
# ours alone; their classes are marked "L" (13x13L). The clean classes
# ("clean", marked "C") are the same sizes and black shares drawn as a
# constructor draws them, every entry of 3 letters or more and no 2x2 block
# of black squares, on the same lists as the long ones.
#   bench/fill_vs_qxw.sh [BUILD_DIR]      (default: build/bench)
# BUILD_DIR is configured (Release, -DPOLIMREZA_BENCH=ON) when it has no
# build yet, and the generator, the checker and polimreza-fill are built.
# Installs qxw, hunspell-sr, wordnet-base, icu-devtools and time with apt-get
# when missing. Environment:
#   FILL        polimreza-fill to measure (default BUILD_DIR/polimreza-fill,
#               built from this tree; "none" runs qxw alone)
#   LISTS_TOOL  polimreza-lists that writes the "az" and "cyrl" lists (default
#               BUILD_DIR/polimreza-lists, built from this tree)
#   QXW         "none" runs polimreza-fill alone (to compare two builds of it)
#   LIMIT       seconds per pattern and program (default 30)
#   COUNT       patterns per class (default 10)
#   LANGS       lists to use, of "sr", "az", "cyrl" and "en" (default
#               "sr az cyrl en")
#   EN_SIZES    sizes run with the English lists (default "9 11 13 15")
#   CLASSES     any of "short" (slots of 2 to 9), "long" (the long-entry
#               classes) and "clean" (default "short long clean")
#   KEEP        a folder to keep the inputs, outputs and results.tsv in
# Exits 1 if the checker rejects any fill.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/bench/setup.bash"
build="$(realpath -m "${1:-$root/build/bench}")"
limit="${LIMIT:-30}"
count="${COUNT:-10}"
langs="${LANGS:-sr az cyrl en}"
en_sizes="${EN_SIZES:-9 11 13 15}"
classes="${CLASSES:-short long clean}"
qxw=/usr/games/qxw
run_qxw="${QXW:-yes}"

# --- Tools -------------------------------------------------------------------
missing=()
[ -x "$qxw" ] || missing+=(qxw)
[ -f /usr/share/hunspell/sr_Latn_RS.dic ] || missing+=(hunspell-sr)
[ -f /usr/share/wordnet/index.noun ] || missing+=(wordnet-base)
command -v uconv >/dev/null || missing+=(icu-devtools)
[ -x /usr/bin/time ] || missing+=(time)
dpkg -s libbenchmark-dev >/dev/null 2>&1 || missing+=(libbenchmark-dev)
install_missing "${missing[@]}"

configure_bench_build "$root" "$build"
targets=(polimreza_fill_patterns polimreza_fill_check)
fill="${FILL:-$build/polimreza-fill}"
if [ -z "${FILL:-}" ]; then
  if [ -f "$root/src/fill_main.cc" ]; then
    targets+=(polimreza-fill)
  else
    echo "This tree has no polimreza-fill: measuring qxw alone." >&2
    fill=none
  fi
fi
lists_tool="${LISTS_TOOL:-$build/polimreza-lists}"
if [[ " $langs " == *" cyrl "* || " $langs " == *" az "* ]] &&
  [ -z "${LISTS_TOOL:-}" ]; then
  targets+=(polimreza-lists)
fi
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
check="$build/bench/polimreza_fill_check"
if [ "$fill" != none ]; then fill="$(realpath "$fill")"; fi

make_work_folder

# --- Inputs ------------------------------------------------------------------
if [[ " $classes " == *" short "* ]]; then
  "$build/bench/polimreza_fill_patterns" "$work/patterns" "$count"
fi
# The long and clean kinds are named with an "L" or a "C" after the number
# (13-18-01L), so every kind shares the results and the table.
for kind in long clean; do
  [[ " $classes " == *" $kind "* ]] || continue
  mark=$([ "$kind" = long ] && echo L || echo C)
  mkdir -p "$work/patterns"
  "$build/bench/polimreza_fill_patterns" "$work/$kind" "$count" "$kind"
  for file in "$work/$kind"/*.txt; do
    mv "$file" "$work/patterns/$(basename "${file%.txt}")$mark.txt"
    mv "${file%.txt}.qxd" "$work/patterns/$(basename "${file%.txt}")$mark.qxd"
  done
done

# Writes FOLDER/1.txt..MAX.txt ("WORD;" lines) and FOLDER/qxw.dict (one word a
# line) from the words on standard input: upper case A-Z only, in the
# source's order, each word once, at most MAX letters (default 9).
write_lists() {
  local folder="$1" max="${2:-9}"
  mkdir -p "$folder"
  grep -x '[A-Z]\+' | awk -v max="$max" '!seen[$0]++ && length($0) <= max' \
    >"$folder/qxw.dict"
  for n in $(seq 1 "$max"); do
    awk -v n="$n" 'length($0) == n { print $0 ";" }' "$folder/qxw.dict" \
      >"$folder/$n.txt"
  done
}

# Serbian: the hunspell stems (no affixes applied) without the count line and
# the flags, folded to A-Z: C-caron and C-acute to C, S-caron to S, Z-caron
# to Z, D-stroke to DJ; for the short classes and, up to 25 letters, the
# long ones.
tail -n +2 /usr/share/hunspell/sr_Latn_RS.dic | tr -d '\r' | sed 's|/.*||' |
  uconv -f utf-8 -t utf-8 -x upper |
  sed 's/[ČĆ]/C/g; s/Š/S/g; s/Ž/Z/g; s/Đ/DJ/g' >"$work/sr-words"
write_lists "$work/sr" <"$work/sr-words"
write_lists "$work/sr25" 25 <"$work/sr-words"
# Serbian letters: the Cyrillic hunspell dictionary as polimreza-lists
# writes it. The checker reads them, and the grids, recoded to ISO-8859-5,
# which has every Serbian Cyrillic letter in one byte.
if [[ " $langs " == *" cyrl "* ]]; then
  mkdir -p "$work/cyrl" "$work/cyrl-check"
  "$lists_tool" --alphabet sr-cyrl --output "$work/cyrl" \
    /usr/share/hunspell/sr_RS.dic >/dev/null
  for file in "$work/cyrl"/*.txt; do
    iconv -c -f UTF-8 -t ISO-8859-5 "$file" \
      >"$work/cyrl-check/$(basename "$file")" || true
  done
  ln -s cyrl "$work/cyrl25"
  ln -s cyrl-check "$work/cyrl25-check"
fi
# The same dictionary as "cyrl", written in A-Z by polimreza-lists.
if [[ " $langs " == *" az "* ]]; then
  mkdir -p "$work/az"
  "$lists_tool" --output "$work/az" /usr/share/hunspell/sr_RS.dic >/dev/null
fi
# English: WordNet lemmas of nouns, verbs, adjectives, adverbs, in that order.
for part in noun verb adj adv; do
  grep -v '^ ' "/usr/share/wordnet/index.$part" | cut -d' ' -f1
done | tr a-z A-Z >"$work/en-words"
write_lists "$work/en" <"$work/en-words"
# The long classes' English: multiword lemmas run together (ICE_CREAM:
# ICECREAM, X-RAY: XRAY).
tr -d '_-' <"$work/en-words" | write_lists "$work/en25" 25

# --- Runs --------------------------------------------------------------------
# One run of "$@" with standard output to $out: sets $seconds (wall),
# $status and $peak (KB).
run() {
  local start end
  start=$EPOCHREALTIME
  status=0
  /usr/bin/time -f %M -o "$work/peak" "$@" >"$out" 2>"$out.err" || status=$?
  end=$EPOCHREALTIME
  seconds=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')
  peak=$(tail -n 1 "$work/peak")
}

# Sets $verdict from the checker's judgement of the fill in $out.
verify() {
  if "$check" "$@" >"$out.check"; then
    verdict=valid
  else
    verdict=INVALID
    invalid=$((invalid + 1))
    echo "INVALID $(basename "$out"): $(cat "$out.check")" >&2
  fi
}

invalid=0
results="$work/results.tsv"
printf 'lang\tclass\tpattern\tprogram\toutcome\tseconds\tpeak_kb\tcheck\n' \
  >"$results"
mkdir -p "$work/out"
progress() { [ -t 2 ] && printf '\r%-60s' "$*" >&2 || true; }
# In order of size, black share and number; each pattern with every
# language in turn, so that the languages run side by side under the same
# load.
for file in $(cd "$work/patterns" && ls -- *.txt | sort -t- -k1,1n -k2,2n -k3,3n); do
  for lang in $langs; do
    pattern="$work/patterns/$file"
    name="${file%.txt}"
    size="${name%%-*}"
    lists="$work/$lang"
    mark=""
    if [[ "$name" == *[LC] ]]; then
      # A long-entry or clean pattern: the lists of 1 to 25 letters.
      lists="$work/${lang}25"
      mark=${name: -1}
      [ "$lang" = az ] && continue
    elif [ "$lang" = en ] && [[ " $en_sizes " != *" $size "* ]]; then
      continue
    fi
    class="${size}x${size}${mark} $(echo "$name" | cut -d- -f2)%"
    progress "$lang $name"

    # qxw: exit 0 with "W<n> WORD" lines filled, 4 "No fill found".
    if [ "$run_qxw" != none ] && [ "$lang" != cyrl ] && [ "$lang" != az ]; then
      out="$work/out/$lang-$name.qxw"
      run timeout "$limit" "$qxw" -b "${pattern%.txt}.qxd" -d "$lists/qxw.dict"
      verdict=-
      case $status in
        0) outcome=filled; verify "$pattern" "$lists" qxw "${pattern%.txt}.qxd" "$out" ;;
        4) outcome=impossible ;;
        124) outcome=timeout ;;
        *) outcome="error$status" ;;
      esac
      printf '%s\t%s\t%s\tqxw\t%s\t%s\t%s\t%s\n' "$lang" "$class" "$name" \
        "$outcome" "$seconds" "$peak" "$verdict" >>"$results"
    fi

    [ "$fill" = none ] && continue
    # Ours: 0 filled, 1 no fill exists, 3 time limit; a hard stop a little
    # later in case the limit is not kept.
    out="$work/out/$lang-$name.ours"
    alphabet=()
    [ "$lang" = cyrl ] && alphabet=(--alphabet sr-cyrl)
    run timeout "$((limit + 5))" "$fill" --quiet --time-limit "$limit" \
      "${alphabet[@]}" --lists "$lists" "$pattern"
    verdict=-
    case $status in
      0)
        outcome=filled
        if [ "$lang" = cyrl ]; then
          iconv -c -f UTF-8 -t ISO-8859-5 "$out" >"$out.8859" || true
          verify "$pattern" "$lists-check" ours "$out.8859"
        else
          verify "$pattern" "$lists" ours "$out"
        fi
        ;;
      1) outcome=impossible ;;
      3 | 124) outcome=timeout ;;
      *) outcome="error$status" ;;
    esac
    printf '%s\t%s\t%s\tours\t%s\t%s\t%s\t%s\n' "$lang" "$class" "$name" \
      "$outcome" "$seconds" "$peak" "$verdict" >>"$results"
  done
done
[ -t 2 ] && printf '\r%-60s\r' '' >&2

# --- Table -------------------------------------------------------------------
# The median of a list of numbers separated by spaces, for both tables.
median_awk='
  function median(list,   n, v, i, j, t) {
    n = split(list, v, " ")
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; --j) {
      t = v[j]; v[j] = v[j - 1]; v[j - 1] = t
    }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }'
words() { if [ -d "$work/$1" ]; then cat "$work/$1"/[1-9].txt | wc -l; else echo 0; fi; }
echo "Lists: sr $(words sr) words, az $(words az) words, cyrl $(words cyrl)" \
  "words, en $(words en) words (1 to 9 letters)."
longwords() {
  if [ -d "$work/$1" ]; then cat "$work/$1"/{1..25}.txt 2>/dev/null | wc -l; else echo 0; fi
}
if [[ " $classes " == *" long "* || " $classes " == *" clean "* ]]; then
  echo "Long and clean classes (L, C): sr $(longwords sr25) words, cyrl $(longwords cyrl25)" \
    "words, en $(longwords en25) words (1 to 25 letters)."
fi
echo "Limit ${limit} s per pattern and program; times are medians of the class"
echo "in seconds, a timed-out run counted at the limit. f/i/t: filled, proved"
echo "impossible, timed out. Ratio: our median / qxw's median."
echo
awk -F'\t' -v limit="$limit" "$median_awk"'
  NR == 1 { next }
  {
    key = $1 " " $2
    if (!(key in seen)) { seen[key] = 1; order[++keys] = key }
    p = $4
    if (!((key, $3) in named)) { named[key, $3] = 1; patterns[key]++ }
    t = $5 == "timeout" ? limit : $6
    times[key, p] = times[key, p] " " t
    count[key, p, $5]++
    done[key, p]++
    if ($5 != "filled" && $5 != "impossible" && $5 != "timeout") errors[key, p]++
  }
  END {
    printf "%-4s %-10s %3s | %-12s %8s | %-12s %8s | %7s\n", "lang", "class", "n",
      "qxw f/i/t", "median", "ours f/i/t", "median", "ratio"
    for (k = 1; k <= keys; ++k) {
      key = order[k]
      split(key, part, " ")
      line = sprintf("%-4s %-10s %3d", part[1], part[2] " " part[3], patterns[key])
      for (q = 1; q <= 2; ++q) {
        p = q == 1 ? "qxw" : "ours"
        if (!done[key, p]) { line = line sprintf(" | %-12s %8s", "-", "-"); continue }
        fit = sprintf("%d/%d/%d", count[key, p, "filled"], count[key, p, "impossible"],
                      count[key, p, "timeout"])
        if (errors[key, p]) fit = fit "+" errors[key, p] "e"
        m[p] = median(times[key, p])
        line = line sprintf(" | %-12s %8.3f", fit, m[p])
      }
      if (!done[key, "qxw"]) m["qxw"] = 0
      ratio = done[key, "ours"] && m["qxw"] > 0 ? sprintf("%7.3f", m["ours"] / m["qxw"]) : "      -"
      print line " | " ratio
    }
  }' "$results"

# The Serbian letters against A-Z, ours alone: against each A-Z set run.
for base in az sr; do
  if [ "$fill" = none ] || [[ " $langs " != *" $base "* ]] ||
    [[ " $langs " != *" cyrl "* ]]; then
    continue
  fi
  echo
  echo "Serbian letters (cyrl) against A-Z ($base), ours alone;"
  echo "ratio: cyrl median / $base median."
  echo
  awk -F'\t' -v limit="$limit" -v base="$base" "$median_awk"'
    NR == 1 || $4 != "ours" || ($1 != base && $1 != "cyrl") { next }
    {
      if (!($2 in seen)) { seen[$2] = 1; order[++keys] = $2 }
      times[$2, $1] = times[$2, $1] " " ($5 == "timeout" ? limit : $6)
      filled[$2, $1] += $5 == "filled"
      total[$1] += $5 == "filled"
    }
    END {
      printf "%-10s | %8s %8s | %8s %8s | %6s\n", "class", base " f", "cyrl f",
        base " med", "cyrl med", "ratio"
      for (k = 1; k <= keys; ++k) {
        c = order[k]
        a = median(times[c, base]); b = median(times[c, "cyrl"])
        printf "%-10s | %8d %8d | %8.3f %8.3f | %6s\n", c, filled[c, base],
          filled[c, "cyrl"], a, b, (a > 0 ? sprintf("%6.2f", b / a) : "-")
      }
      printf "Filled: %s %d, cyrl %d.\n", base, total[base], total["cyrl"]
    }' "$results"
done

# The issue's targets, pattern by pattern.
if [ "$fill" != none ] && [ "$run_qxw" != none ]; then
  echo
  awk -F'\t' '
    NR == 1 { next }
    { key = $1 " " $3; outcome[key, $4] = $5; seconds[key, $4] = $6 }
    $4 == "qxw" { keys[++n] = key }
    $4 == "ours" && $2 ~ /^15x15/ && $7 + 0 > peak { peak = $7 }
    END {
      for (k = 1; k <= n; ++k) {
        key = keys[k]
        filled["qxw"] += outcome[key, "qxw"] == "filled"
        filled["ours"] += outcome[key, "ours"] == "filled"
        if (outcome[key, "qxw"] == "filled" && outcome[key, "ours"] != "filled") {
          missed = missed " " key
        }
        if (outcome[key, "ours"] == "filled" && outcome[key, "qxw"] != "filled") {
          gained = gained " " key
        }
        size = substr(key, index(key, " ") + 1) + 0
        if (size <= 13 && key !~ /[LC]$/) {
          ++small
          decided = outcome[key, "ours"] == "filled" || outcome[key, "ours"] == "impossible"
          if (decided && seconds[key, "ours"] <= 10) ++quick
          else slow = slow " " key
        }
      }
      printf "Filled: qxw %d, ours %d of %d.\n", filled["qxw"], filled["ours"], n
      printf "Filled by qxw, not by ours:%s\n", missed == "" ? " none" : missed
      printf "Filled by ours, not by qxw:%s\n", gained == "" ? " none" : gained
      printf "Up to 13x13 decided by ours within 10 s: %d of %d%s\n", quick, small,
        slow == "" ? "" : "; not:" slow
      printf "Peak memory of ours on 15x15: %d KB\n", peak
    }' "$results"
fi
[ -n "${KEEP:-}" ] && echo "Inputs, outputs and results: $work"
if [ "$invalid" -gt 0 ]; then
  echo "The checker rejected $invalid fills." >&2
  exit 1
fi
