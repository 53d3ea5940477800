#!/usr/bin/env bash
# The skandinavka benchmark: fills 13x9 skandinavke of the common layout
# (clue squares along the top row and the left column, 14 more inside, none
# beside another and no word over 9 letters, 30% clue squares) and classic
# 13x13 patterns at 30% black squares (the fill benchmark's 13-30 class)
# with polimreza-fill on the same Serbian Cyrillic lists, and prints per
# kind: patterns, fills, median and slowest time.
#   bench/skandinavka.sh [BUILD_DIR]      (default: build/bench)
# Lists: polimreza-lists --alphabet sr-cyrl /usr/share/hunspell/sr_RS.dic.
# Environment: COUNT patterns of each kind (default 10), LIMIT seconds per
# fill (30), RUNS timed runs per fill, the median kept (3), KEEP a folder to
# keep the work in. The matching alone is timed by polimreza_micro_bench
# --benchmark_filter=PlaceClues.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/bench/setup.bash"
build="$(realpath -m "${1:-$root/build/bench}")"
count="${COUNT:-10}"
limit="${LIMIT:-30}"
runs="${RUNS:-3}"

missing=()
[ -f /usr/share/hunspell/sr_RS.dic ] || missing+=(hunspell-sr)
dpkg -s libbenchmark-dev >/dev/null 2>&1 || missing+=(libbenchmark-dev)
install_missing "${missing[@]}"
configure_bench_build "$root" "$build"
cmake --build "$build" -j2 --target polimreza_fill_patterns polimreza-fill \
  polimreza-lists >/dev/null

if [ -n "${KEEP:-}" ]; then
  work="$(realpath -m "$KEEP")"
  rm -rf "$work"
  mkdir -p "$work"
else
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
fi

mkdir -p "$work/lists" "$work/classic" "$work/skandinavka"
"$build/polimreza-lists" --alphabet sr-cyrl -o "$work/lists" \
  /usr/share/hunspell/sr_RS.dic >/dev/null
"$build/bench/polimreza_fill_patterns" "$work/classic" "$count" >/dev/null

python3 - "$build/polimreza-fill" "$work" "$count" "$limit" "$runs" <<'PY'
import random, statistics, subprocess, sys, time
fill, work, count, limit, runs = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], int(sys.argv[5])
WIDTH, HEIGHT, INNER, LONGEST = 13, 9, 14, 9

def longest_run(cells):
    rows = [''.join(row) for row in cells]
    columns = [''.join(row[c] for row in cells) for c in range(WIDTH)]
    return max(len(run) for line in rows + columns for run in line.split('#'))

def skandinavka(rng):
    while True:
        cells = layout(rng)
        if longest_run(cells) <= LONGEST:
            return '\n'.join(''.join(row) for row in cells) + '\n'

def layout(rng):
    # Clue squares on the top row and the left column, and inside, none
    # beside another inner one.
    cells = [['#' if r == 0 or c == 0 else '*' for c in range(WIDTH)]
             for r in range(HEIGHT)]
    placed = 0
    while placed < INNER:
        r, c = rng.randrange(1, HEIGHT), rng.randrange(1, WIDTH)
        near = [(r + dr, c + dc) for dr, dc in ((0, 1), (1, 0), (0, -1), (-1, 0))]
        if cells[r][c] == '#' or any(
                1 <= rr < HEIGHT and 1 <= cc < WIDTH and cells[rr][cc] == '#'
                for rr, cc in near):
            continue
        cells[r][c] = '#'
        placed += 1
    return cells

def run(pattern, extra):
    times, status = [], None
    for _ in range(runs):
        start = time.monotonic()
        done = subprocess.run([fill, '--alphabet', 'sr-cyrl', '--lists',
                               work + '/lists', '--time-limit', limit,
                               '--quiet'] + extra + [pattern],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.monotonic() - start)
        status = done.returncode
    return status, statistics.median(times)

rng = random.Random(20261209)
kinds = {'skandinavka 13x9': [], 'klasicna 13x13': []}
refused = 0
made = 0
while made < count:
    path = '%s/skandinavka/%02d.txt' % (work, made + 1)
    with open(path, 'w') as out:
        out.write(skandinavka(rng))
    status, seconds = run(path, ['--skandinavka'])
    if status == 2:
        refused += 1
        continue
    kinds['skandinavka 13x9'].append((status, seconds))
    made += 1
for k in range(1, count + 1):
    kinds['klasicna 13x13'].append(run('%s/classic/13-30-%02d.txt' % (work, k), []))

print('%-18s %8s %6s %10s %10s' % ('vrsta', 'izgleda', 'resio', 'medijana', 'najduze'))
for name, results in kinds.items():
    filled = sum(1 for status, _ in results if status == 0)
    times = [seconds for _, seconds in results]
    print('%-18s %8d %6d %9.3fs %9.3fs' % (name, len(results), filled,
                                          statistics.median(times), max(times)))
print('skandinavke bez rasporeda opisa (preskocene): %d' % refused)
PY
