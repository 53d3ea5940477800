#!/usr/bin/env bash
# Round trip of a Serbian puzzle through the real programs: word lists ->
# polimreza-fill (sr-latn, and sr-cyrl written in Latin) -> report ->
# polimreza-export ipuz in both scripts; every square's letter must come
# back as the report has it, letter for letter. Assumes build/dev was built
# just before.
set -euo pipefail
cd "$(dirname "$0")/../.."
command -v python3 >/dev/null || {
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq python3
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r tests/e2e/fill_alphabet_latn/files/. "$work/"
top=$PWD
for alphabet in sr-latn sr-cyrl; do
  for script in latn cyrl; do
    (cd "$work" && "$top/build/dev/polimreza-fill" --alphabet "$alphabet" \
      --script "$script" --lists liste pattern.txt) >"$work/report.txt"
    for to in latn cyrl; do
      build/dev/polimreza-export "$work/report.txt" --script "$to" \
        --ipuz "$work/$to.ipuz" --force >/dev/null
    done
    python3 - "$work" <<'PY'
import json, sys
work = sys.argv[1]
latin = "A B C Č Ć D DŽ Đ E F G H I J K L LJ M N NJ O P R S Š T U V Z Ž".split()
cyrillic = "А Б Ц Ч Ћ Д Џ Ђ Е Ф Г Х И Ј К Л Љ М Н Њ О П Р С Ш Т У В З Ж".split()
single = {"Ǆ": "DŽ", "Ǉ": "LJ", "Ǌ": "NJ"}
def letter(text):
    text = single.get(text, text)
    return latin.index(text) if text in latin else cyrillic.index(text)
lines = open(work + "/report.txt", encoding="utf-8").read().split("\n")
height = int(lines[0].split("MaxUspravno:")[1])
grid = [list(row) for row in lines[4:4 + height]]
for to, names in (("latn", latin), ("cyrl", cyrillic)):
    ipuz = json.load(open(f"{work}/{to}.ipuz", encoding="utf-8"))
    for r, row in enumerate(grid):
        for c, square in enumerate(row):
            got = ipuz["solution"][r][c]
            if square == "#":
                assert got == "#", (to, r, c, got)
            else:
                assert got == names[letter(square)], (to, r, c, square, got)
    assert ipuz["language"] == {"latn": "sr-Latn", "cyrl": "sr-Cyrl"}[to]
PY
  done
done
echo "export_alphabet: the letters come back the same in both scripts"
