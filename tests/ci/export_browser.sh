#!/usr/bin/env bash
# Browser check of polimreza-export: exports the bundled example to a web
# page and an ipuz file, a hostile report, a 15x15 report, the example in
# English and in Cyrillic with an author, and a Serbian puzzle in both
# scripts, then plays, shows on a phone and prints the pages in headless
# Chromium (export_browser.py), and a skandinavka (skandinavka_browser.py).
# Assumes build/dev was built just before.
set -euo pipefail
cd "$(dirname "$0")/../.."

source tests/ci/browser_setup.bash

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r examples "$work/examples"
(cd "$work/examples" && "$OLDPWD/build/dev/Polimreza" ukrstenica.txt) \
  >"$work/report.txt"
build/dev/polimreza-export - --html "$work/puzzle.html" \
  --ipuz "$work/puzzle.ipuz" <"$work/report.txt" >/dev/null
# A report whose clues and title try to run script and load an image.
printf '%s\n' 'MaxVodoravno:3, MaxUspravno:3' 'Ukrstenica je resena' \
  'Sad cu je prikazati...' '' 'AB#' 'C#D' 'EFG' 'Vodoravno:' \
  '0.</script><script>window.pwned=1</script>' \
  '1.<img src=x onerror="window.pwned=2">' '2.&amp; "q" '"'"'a'"'"'' '3.' '' \
  'Uspravno:' '0.<!--' '1.]]>' '2.\u003c' '3.x' >"$work/hostile.txt"
build/dev/polimreza-export "$work/hostile.txt" --html "$work/hostile.html" \
  --title '<b onmouseover=alert(1)>' >/dev/null
# A 15x15 grid with clues as long as a magazine's, and the example in
# English.
/usr/bin/python3 tests/ci/export_browser.py --write-big-report 15 "$work/big.txt"
build/dev/polimreza-export "$work/big.txt" --author "Ana Anić" \
  --html "$work/big.html" >/dev/null
build/dev/polimreza-export "$work/report.txt" --lang en \
  --html "$work/english.html" >/dev/null
# A Serbian Latin puzzle, and the same in Cyrillic.
build/dev/polimreza-export tests/e2e/export_alphabet_latn/files/report.txt \
  --html "$work/latin.html" >/dev/null
build/dev/polimreza-export tests/e2e/export_alphabet_latn/files/report.txt \
  --script cyrl --html "$work/cyrillic.html" >/dev/null
# The example in Cyrillic, with its author.
build/dev/polimreza-export "$work/report.txt" --script cyrl \
  --author "Ана Анић" --html "$work/example-cyrillic.html" >/dev/null
mkdir -p build/dev/export_browser
# Debian's own Python, the one python3-selenium installs into.
/usr/bin/python3 tests/ci/export_browser.py "$work/report.txt" "$work/puzzle.ipuz" \
  "$work/puzzle.html" build/dev/export_browser/screenshot.png \
  "$work/hostile.txt" "$work/hostile.html" "$work/big.txt" "$work/big.html" \
  "$work/english.html" "$work/latin.html" "$work/cyrillic.html" \
  "$work/example-cyrillic.html"
# A 15x11 skandinavka with every clue of 20 characters, and one whose clues
# hold markup, 500 characters and a word of 40 letters: solved, printed and
# measured by skandinavka_browser.py, which prints the print check's figures.
/usr/bin/python3 tests/ci/skandinavka_browser.py --write-report print \
  "$work/skandinavka.txt"
/usr/bin/python3 tests/ci/skandinavka_browser.py --write-report hostile \
  "$work/skandinavka-hostile.txt"
build/dev/polimreza-export --skandinavka "$work/skandinavka.txt" \
  --html "$work/skandinavka.html" >/dev/null 2>&1
build/dev/polimreza-export --skandinavka "$work/skandinavka-hostile.txt" \
  --html "$work/skandinavka-hostile.html" >/dev/null 2>&1
/usr/bin/python3 tests/ci/skandinavka_browser.py "$work/skandinavka.html" \
  "$work/skandinavka-hostile.html" build/dev/export_browser/skandinavka.png \
  build/dev/export_browser/skandinavka-a4.pdf
