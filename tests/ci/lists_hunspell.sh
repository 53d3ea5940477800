#!/usr/bin/env bash
# Builds Serbian word lists from Debian's hunspell-sr dictionaries (Latin and
# Cyrillic) with build/dev/polimreza-lists, checks that every list is well
# formed and plausibly full, that both scripts give the same lists, that the
# lists are not overwritten without --force, and that Polimreza fills a small
# pattern from them. Assumes build/dev was built just before.
set -euo pipefail
cd "$(dirname "$0")/../.."

dictionaries=/usr/share/hunspell
if [ ! -f "$dictionaries/sr_Latn_RS.dic" ] || [ ! -f "$dictionaries/sr_RS.dic" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq hunspell-sr
fi

lists=$PWD/build/dev/polimreza-lists
polimreza=$PWD/build/dev/Polimreza
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "lists_hunspell: $*" >&2
  exit 1
}

# Fewest entries each list must hold (the dictionary gives far more).
minimum=(26 100 800 2500 6000 10000 15000 18000 18000)

for script in Latn_RS RS; do
  out=$work/$script
  mkdir "$out"
  start=$(date +%s%N)
  "$lists" --output "$out" "$dictionaries/sr_$script.dic" >"$work/$script.txt" ||
    fail "sr_$script.dic: exit status $?"
  echo "sr_$script.dic: $(( ($(date +%s%N) - start) / 1000000 )) ms"
  for length in 1 2 3 4 5 6 7 8 9; do
    list=$out/$length.txt
    count=$(grep -c $'\r$' "$list" || true)
    [ "$count" -ge "${minimum[length - 1]}" ] ||
      fail "$list: only $count entries"
    # Every line is a word of this length in A-Z, then ';', ending CR LF.
    bad=$(LC_ALL=C grep -cv "^[A-Z]\{$length\};[ -~]*"$'\r$' "$list" || true)
    [ "$bad" -eq 0 ] || fail "$list: $bad malformed lines"
    grep -q "^  $length: $count\$" "$work/$script.txt" ||
      fail "sr_$script.dic: the summary does not count $count entries"
  done
done

for length in 1 2 3 4 5 6 7 8 9; do
  cmp "$work/Latn_RS/$length.txt" "$work/RS/$length.txt" ||
    fail "$length.txt differs between the Latin and the Cyrillic dictionary"
done

# Without --force the lists stay as they are.
cp "$work/RS/5.txt" "$work/5.before"
status=0
"$lists" --output "$work/RS" --no-proper-nouns "$dictionaries/sr_RS.dic" \
  >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "existing lists: exit status $status, not 2"
cmp "$work/5.before" "$work/RS/5.txt" || fail "existing lists were changed"

# Polimreza fills a small pattern from the lists.
cd "$work/Latn_RS"
printf '*****\n*#*#*\n*****\n' >pattern.txt
"$polimreza" pattern.txt >solved.txt
grep -q '^Ukrstenica je resena$' solved.txt ||
  fail "Polimreza did not fill the pattern: $(cat solved.txt)"
echo "lists_hunspell: ok"
