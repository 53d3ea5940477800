#!/usr/bin/env bash
# How fast polimreza-lists reads a large corpus and how much memory it
# takes: generates a text of SIZE_MB megabytes (default 100) of Serbian
# words (hunspell-sr's stems, Latin and Cyrillic, with punctuation, a fixed
# seed), then runs polimreza-lists --alphabet sr-cyrl --corpus on it with
# /usr/bin/time -v and prints the wall time, the CPU time and the peak
# resident memory, and the same for the lists alone (no corpus).
#   bench/corpus_speed.sh [BUILD_DIR]      (default: build/bench)
# Environment: SIZE_MB, KEEP (a folder to keep the corpus and lists in).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/bench/setup.bash"
build="$(realpath -m "${1:-$root/build/bench}")"
size_mb="${SIZE_MB:-100}"

missing=()
[ -f /usr/share/hunspell/sr_RS.dic ] || missing+=(hunspell-sr)
[ -x /usr/bin/time ] || missing+=(time)
dpkg -s libbenchmark-dev >/dev/null 2>&1 || missing+=(libbenchmark-dev)
install_missing "${missing[@]}"
configure_bench_build "$root" "$build"
cmake --build "$build" -j2 --target polimreza-lists >/dev/null

if [ -n "${KEEP:-}" ]; then
  work="$(realpath -m "$KEEP")"
  mkdir -p "$work"
else
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
fi

corpus="$work/corpus-$size_mb.txt"
if [ ! -f "$corpus" ]; then
  python3 - "$corpus" "$size_mb" <<'PY'
import random, sys
words = []
for name in ("/usr/share/hunspell/sr_RS.dic", "/usr/share/hunspell/sr_Latn_RS.dic"):
    with open(name, encoding="utf-8") as dic:
        next(dic)
        words += [line.split("/")[0].strip() for line in dic if line.strip()]
random.seed(20261208)
# A Zipf-like choice: a few words very often, most rarely.
weights = [1.0 / (rank + 10) for rank in range(len(words))]
random.shuffle(words)
target = int(sys.argv[2]) << 20
punctuation = [" ", " ", " ", " ", ", ", ". ", ".\n", "; ", " (", ") ", " - "]
with open(sys.argv[1], "w", encoding="utf-8") as out:
    written = 0
    while written < target:
        chunk = random.choices(words, weights, k=100000)
        text = "".join(w + random.choice(punctuation) for w in chunk)
        out.write(text)
        written += len(text.encode("utf-8"))
PY
fi
echo "corpus: $(stat -c %s "$corpus") bytes"

measure() {
  local label="$1"
  shift
  rm -rf "$work/lists"
  mkdir "$work/lists"
  /usr/bin/time -v "$@" -o "$work/lists" >"$work/out.txt" 2>"$work/time.txt"
  awk -v label="$label" -F': ' '
    /Elapsed \(wall clock\)/ { wall = $2 }
    /User time/ { user = $2 }
    /System time/ { sys = $2 }
    /Maximum resident set size/ { rss = $2 }
    END { printf "%-22s wall %s, user %s s, system %s s, peak %d KB\n", label, wall, user, sys, rss }' \
    "$work/time.txt"
}
measure "lists alone" "$build/polimreza-lists" --alphabet sr-cyrl \
  /usr/share/hunspell/sr_RS.dic
measure "lists + corpus" "$build/polimreza-lists" --alphabet sr-cyrl \
  --corpus "$corpus" /usr/share/hunspell/sr_RS.dic
sed -n '/^Korpus:/,/^Broj/p' "$work/out.txt" | sed '$d'
