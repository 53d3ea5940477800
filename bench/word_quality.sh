#!/usr/bin/env bash
# The word-quality benchmark: how many of a fill's words a corpus of Serbian
# software translations knows, with lists ordered by corpus scores against
# lists without scores, on Serbian Cyrillic 13x13 patterns at about 20%
# black squares (the fill benchmark's 13x13 18% class; see README.md).
#   bench/word_quality.sh [BUILD_DIR]      (default: build/bench)
# Lists: polimreza-lists --alphabet sr-cyrl /usr/share/hunspell/sr_RS.dic,
# once as it is ("without") and once with --corpus ("with"). Corpus: the
# Serbian Cyrillic catalogues (.mo) of Debian's libreoffice-l10n-sr,
# unpacked from the package (apt-get download, not installed) and decoded
# with msgunfmt; their translations (msgstr) only. A fill's word counts as
# found when it occurs in that text, as this script's own tokenizer (any run
# of letters, upper-cased; Latin read as Serbian Latin letters) finds it.
# Prints, per pattern and in all: words of two or more letters, the share
# found, the fill time (median of RUNS runs; in all also the median CPU
# time, user and system, which a loaded machine disturbs less), and
# whether it filled. A third
# run set, "noweak", fills from the scored lists with --no-weak-crossings;
# for it and for "with", one more run with --stats (not timed) gives the
# fill's weak crossings (slaba ukrstanja), and the summary says how many of
# the patterns that fill without the option fill with it, the weak
# crossings of each fill, and the median times with and without it.
# Environment: COUNT patterns (default 10), LIMIT seconds per fill (30),
# RUNS timed runs per fill (3), KEEP a folder to keep the work in.
set -euo pipefail
TIMEFORMAT='%3U %3S'
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/bench/setup.bash"
build="$(realpath -m "${1:-$root/build/bench}")"
count="${COUNT:-10}"
limit="${LIMIT:-30}"
runs="${RUNS:-3}"

missing=()
[ -f /usr/share/hunspell/sr_RS.dic ] || missing+=(hunspell-sr)
command -v msgunfmt >/dev/null || missing+=(gettext)
dpkg -s libbenchmark-dev >/dev/null 2>&1 || missing+=(libbenchmark-dev)
install_missing "${missing[@]}"
configure_bench_build "$root" "$build"
cmake --build "$build" -j2 --target polimreza_fill_patterns polimreza-fill \
  polimreza-lists >/dev/null

make_work_folder

# --- Corpus ------------------------------------------------------------------
mkdir -p "$work/deb" "$work/corpus"
(cd "$work/deb" && apt-get download -qq libreoffice-l10n-sr 2>/dev/null)
dpkg-deb -x "$work"/deb/libreoffice-l10n-sr_*.deb "$work/deb/root"
for mo in "$work"/deb/root/usr/lib/libreoffice/program/resource/sr/LC_MESSAGES/*.mo; do
  msgunfmt "$mo" | python3 -c '
import ast, sys
out, current = [], None
for line in sys.stdin:
    line = line.strip()
    if line.startswith("msgstr"):
        current = True
        line = line[line.index(" ") + 1:]
    elif line.startswith("msgid") or line.startswith("msgctxt") or not line:
        current = None
        continue
    if current and line.startswith("\""):
        out.append(ast.literal_eval(line))
sys.stdout.write("\n".join(out) + "\n")
' >"$work/corpus/$(basename "$mo" .mo).txt"
done
echo "corpus: $(cat "$work"/corpus/*.txt | wc -c) bytes, $(ls "$work/corpus" | wc -l) catalogues"
# The corpus's words for the share found: runs of letters, upper-cased, the
# Latin ones in Cyrillic letters (LJ, NJ, DZ-caron one letter).
python3 - "$work/corpus" >"$work/known.txt" <<'PY'
import os, re, sys
latin = {"LJ": "Љ", "NJ": "Њ", "DŽ": "Џ"}
single = dict(zip("ABVGDĐEŽZIJKLMNOPRSTĆUFHCČŠ", "АБВГДЂЕЖЗИЈКЛМНОПРСТЋУФХЦЧШ"))
known = set()
for name in os.listdir(sys.argv[1]):
    text = open(os.path.join(sys.argv[1], name), encoding="utf-8").read()
    for token in re.findall(r"[^\W\d_]+", text):
        token = token.upper()
        for pair, letter in latin.items():
            token = token.replace(pair, letter)
        known.add("".join(single.get(c, c) for c in token))
print("\n".join(sorted(known)))
PY

# --- Lists and patterns --------------------------------------------------------
lists="$build/polimreza-lists"
fill="$build/polimreza-fill"
mkdir -p "$work/without" "$work/with"
"$lists" --alphabet sr-cyrl -o "$work/without" /usr/share/hunspell/sr_RS.dic >/dev/null
"$lists" --alphabet sr-cyrl -o "$work/with" --corpus "$work/corpus" \
  /usr/share/hunspell/sr_RS.dic >"$work/with.txt"
sed -n '/^Korpus:/,/^Broj/p' "$work/with.txt" | sed '$d'
"$build/bench/polimreza_fill_patterns" "$work/patterns" "$count" >/dev/null

# --- Fills -------------------------------------------------------------------
printf '%-10s | %-28s | %-28s | %-28s\n' pattern "without: words found time" \
  "with: words found time" "noweak: words found time"
results="$work/results.tsv"
: >"$results"
for pattern in "$work"/patterns/13-18-*.txt; do
  name=$(basename "$pattern" .txt)
  line="$name"
  for set in without with noweak; do
    out="$work/$set-$name.out"
    dir="$work/$set"
    extra=()
    if [ "$set" = noweak ]; then
      dir="$work/with"
      extra=(--no-weak-crossings)
    fi
    times=()
    cpus=()
    status=0
    for ((r = 0; r < runs; ++r)); do
      start=$(date +%s%N)
      status=0
      { time "$fill" --alphabet sr-cyrl --quiet --time-limit "$limit" \
        --lists "$dir" "${extra[@]}" "$pattern" >"$out" 2>/dev/null ||
        status=$?; } 2>"$work/cpu"
      times+=($(( ($(date +%s%N) - start) / 1000 )))
      cpus+=($(awk '{ printf "%d", ($1 + $2) * 1e6 }' "$work/cpu"))
    done
    crossings=-
    if [ "$set" != without ] && [ "$status" -eq 0 ]; then
      crossings=$("$fill" --alphabet sr-cyrl --quiet --time-limit "$limit" \
        --lists "$dir" "${extra[@]}" --stats "$pattern" 2>&1 >/dev/null |
        sed -n 's/^slaba ukrstanja: //p')
    fi
    median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    cpu=$(printf '%s\n' "${cpus[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    read -r words found < <(python3 - "$out" "$work/known.txt" <<'PY'
import sys
grid_lines = open(sys.argv[1], encoding="utf-8").read().split("\n")
if "Ukrstenica je resena" not in grid_lines:
    print(0, 0); sys.exit()
start = grid_lines.index("Sad cu je prikazati...") + 2
rows = []
for line in grid_lines[start:]:
    if line.startswith("Vodoravno"): break
    rows.append(line)
lines = rows + ["".join(col) for col in zip(*rows)]
words = [w for line in lines for w in line.split("#") if len(w) >= 2]
known = set(open(sys.argv[2], encoding="utf-8").read().split())
print(len(words), sum(w in known for w in words))
PY
)
    filled=$([ "$status" -eq 0 ] && echo filled || echo "status $status")
    line="$line | $(printf '%5d %5d %8.3f s %-8s' "$words" "$found" "$(echo "$median / 1000000" | bc -l)" "$filled")"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$name" "$set" "$words" "$found" "$median" "$status" "$crossings" "$cpu" >>"$results"
  done
  echo "$line"
done
awk -F'\t' '
  { words[$2] += $3; found[$2] += $4; n[$2]++; filled[$2] += ($6 == 0)
    t[$2, n[$2]] = $5; c[$2, n[$2]] = $8 }
  END {
    for (s in n) {
      m = n[s]
      for (i = 1; i <= m; ++i) v[i] = t[s, i]
      for (i = 2; i <= m; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { x = v[j]; v[j] = v[j - 1]; v[j - 1] = x }
      median[s] = m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
      for (i = 1; i <= m; ++i) v[i] = c[s, i]
      for (i = 2; i <= m; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { x = v[j]; v[j] = v[j - 1]; v[j - 1] = x }
      cpu[s] = m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
      share[s] = words[s] ? found[s] / words[s] : 0
      printf "%-8s filled %d of %d, words %d, found %d (%.1f%%), median fill %.3f s (CPU %.3f s)\n", s, filled[s], m, words[s], found[s], 100 * share[s], median[s] / 1e6, cpu[s] / 1e6
    }
    if (share["without"] > 0)
      printf "share with / without: %.2f; median time with / without: %.2f\n", share["with"] / share["without"], median["with"] / median["without"]
    if (median["with"] > 0 && ("noweak" in n))
      printf "median time with --no-weak-crossings / without it (scored lists): %.3f s / %.3f s = %.2f (CPU %.3f s / %.3f s)\n", median["noweak"] / 1e6, median["with"] / 1e6, median["noweak"] / median["with"], cpu["noweak"] / 1e6, cpu["with"] / 1e6
  }' "$results"
# --no-weak-crossings against the same scored lists without it.
awk -F'\t' '
  $2 == "with" { base[$1] = $6; crossings_with = crossings_with " " $7 }
  $2 == "noweak" { keep[$1] = $6; crossings_noweak = crossings_noweak " " $7 }
  END {
    for (p in base) if (base[p] == 0) { fills++; if (keep[p] == 0) kept++ }
    printf "--no-weak-crossings fills %d of the %d patterns that fill without it\n", kept, fills
    printf "weak crossings per fill without the option:%s\n", crossings_with
    printf "weak crossings per fill with the option:   %s\n", crossings_noweak
  }' "$results"
