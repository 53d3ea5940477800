#!/usr/bin/env bash
# Word scores from a real Serbian corpus: Debian's manpages-sr (the Serbian
# manual pages, rendered to text with man) scores the hunspell-sr lists with
# build/dev/polimreza-lists --corpus. Checks that the lists and ocene.txt
# are written together, that the words the corpus holds rise to the top of
# every list (Cyrillic lists from the Cyrillic corpus, and A-Z lists from the
# same corpus), that the gzipped pages themselves are skipped as binary,
# that bad bytes are counted, that running out of memory (ulimit -v) writes
# nothing, that polimreza-fill --stats reports on a fill from the scored
# lists, and that with --no-weak-crossings that fill has no weak crossing.
# Assumes build/dev was built just before.
set -euo pipefail
cd "$(dirname "$0")/../.."

need=()
[ -d /usr/share/man/sr/man1 ] || need+=(manpages-sr)
[ -f /usr/share/hunspell/sr_RS.dic ] || need+=(hunspell-sr)
command -v man >/dev/null || need+=(man-db)
command -v col >/dev/null || need+=(bsdextrautils)
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi

lists=$PWD/build/dev/polimreza-lists
fill=$PWD/build/dev/polimreza-fill
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "word_quality: $*" >&2
  exit 1
}

# The pages as text, one file a page.
mkdir "$work/corpus"
for page in /usr/share/man/sr*/man*/*.gz; do
  name=$(basename "$page" .gz)
  LC_ALL=C.UTF-8 MANWIDTH=100 man -l "$page" 2>/dev/null | col -b \
    >"$work/corpus/$name.txt" || true
done
bytes=$(cat "$work"/corpus/*.txt | wc -c)
echo "corpus: $(ls "$work/corpus" | wc -l) pages, $bytes bytes"
[ "$bytes" -gt 100000 ] || fail "the manual pages gave only $bytes bytes"

# Words the corpus holds (upper case, as the scripts' letters run).
python3 - "$work/corpus" >"$work/known.txt" <<'PY'
import os, re, sys
latin = {"LJ": "Љ", "NJ": "Њ", "DŽ": "Џ"}
single = dict(zip("ABVGDĐEŽZIJKLMNOPRSTĆUFHCČŠ", "АБВГДЂЕЖЗИЈКЛМНОПРСТЋУФХЦЧШ"))
known = set()
for name in os.listdir(sys.argv[1]):
    text = open(os.path.join(sys.argv[1], name), encoding="utf-8", errors="ignore").read()
    for token in re.findall(r"[^\W\d_]+", text):
        token = token.upper()
        for pair, letter in latin.items():
            token = token.replace(pair, letter)
        known.add("".join(single.get(c, c) for c in token))
print("\n".join(sorted(known)))
PY

# Cyrillic lists scored by the corpus.
mkdir "$work/cyrl"
"$lists" --alphabet sr-cyrl -o "$work/cyrl" --corpus "$work/corpus" \
  /usr/share/hunspell/sr_RS.dic >"$work/cyrl.txt" 2>"$work/cyrl.err" ||
  fail "sr-cyrl with the corpus: exit status $?"
[ ! -s "$work/cyrl.err" ] || fail "warnings on a clean corpus: $(cat "$work/cyrl.err")"
head -n 1 "$work/cyrl.txt" | grep -qx 'Liste 1.txt do 25.txt i ocene.txt su zapisane u folder .*' ||
  fail "summary: $(head -n 1 "$work/cyrl.txt")"
sed -n '/^Korpus:/,/^Broj/p' "$work/cyrl.txt"
python3 - "$work/cyrl" "$work/known.txt" <<'PY' || fail "sr-cyrl lists: see above"
import sys
folder, known = sys.argv[1], set(open(sys.argv[2], encoding="utf-8").read().split())
scores = [line.rstrip("\r\n").split(";") for line in open(folder + "/ocene.txt", encoding="utf-8")]
entries = 0
for n in range(2, 26):
    words = [line.split(";")[0] for line in open(f"{folder}/{n}.txt", encoding="utf-8")]
    entries += len(words)
    # ocene.txt follows the list, so its scores fall along it.
    order = {w: i for i, w in enumerate(words)}
    ranked = sorted((order[s[0]], int(s[1])) for s in scores if s[0] in order)
    assert all(a[1] >= b[1] for a, b in zip(ranked, ranked[1:])), f"{n}.txt not ordered by score"
    found = [w for w in words if w in known]
    top = words[:len(found)]
    share = sum(w in known for w in top) / max(1, len(top))
    print(f"{n}.txt: {len(words)} entries, {len(found)} in the corpus, {share:.1%} of the first {len(top)} are")
    # This tokenizer keeps runs of letters that ICU's boundaries join to
    # digits or apostrophes (x86, don't), so it finds a few words more.
    # The long lists hold too few corpus words for a share to mean much.
    assert n > 9 or share >= 0.9, f"{n}.txt: the corpus words are not first"
    score = dict((x[0], int(x[1])) for x in scores)
    unknown = [w for w in words if score[w] > 0 and w not in known]
    assert not unknown, f"{n}.txt: scored but not in the corpus: {unknown[:5]}"
print(f"ocene.txt: {len(scores)} lines")
assert len(scores) == entries + sum(1 for _ in open(folder + "/1.txt", encoding="utf-8")), "ocene.txt does not cover the lists"
PY

# A-Z lists from the Latin dictionary, scored by the same Cyrillic corpus.
mkdir "$work/ascii"
"$lists" -o "$work/ascii" --corpus "$work/corpus" --min-score 1 \
  /usr/share/hunspell/sr_Latn_RS.dic >"$work/ascii.txt" ||
  fail "ascii with the corpus: exit status $?"
count=$(wc -l <"$work/ascii/5.txt")
[ "$count" -gt 100 ] || fail "ascii 5.txt: only $count words score 1 or more"
grep -q '^  ocena ispod --min-score: [1-9]' "$work/ascii.txt" ||
  fail "ascii: --min-score dropped nothing"
echo "ascii --min-score 1: $count words of 5 letters"

# The gzipped pages: binary, skipped; with nothing else, no word at all.
status=0
"$lists" -o "$work/ascii" --force --corpus /usr/share/man/sr/man1 \
  /usr/share/hunspell/sr_Latn_RS.dic >"$work/gz.txt" 2>"$work/gz.err" ||
  status=$?
[ "$status" -eq 2 ] || fail "gzipped corpus: exit status $status, not 2"
grep -q '^polimreza-lists: upozorenje: korpus .*\.gz nije tekst (ima bajt 0): preskocen$' \
  "$work/gz.err" || fail "gzipped corpus: no warning"
grep -qx 'Korpus ne daje nijednu rec' "$work/gz.txt" || fail "gzipped corpus: $(cat "$work/gz.txt")"

# Bad bytes are skipped and counted.
printf 'ku\xffća pas\n\xc4' >"$work/bad.txt"
mkdir "$work/bad"
"$lists" -o "$work/bad" --corpus "$work/bad.txt" \
  /usr/share/hunspell/sr_Latn_RS.dic >/dev/null 2>"$work/bad.err" ||
  fail "bad bytes: exit status $?"
grep -qx "polimreza-lists: upozorenje: korpus $work/bad.txt nije ispravan UTF-8: preskoceno 2 bajtova" \
  "$work/bad.err" || fail "bad bytes: $(cat "$work/bad.err")"
grep -q '^KUCA;100;' "$work/bad/ocene.txt" || fail "bad bytes: KUCA not scored 100"

# Out of memory: many distinct words under a small limit; nothing written.
# Every word of five of 22 letters: 5.2 million forms, about 190 MB of
# counts, in 31 MB of text.
python3 -c '
import itertools, sys
letters = "abcdefghijklmnoprstuvz"
with open(sys.argv[1], "w") as out:
    for first in letters:
        out.write(" ".join(first + "".join(rest) for rest in itertools.product(letters, repeat=4)) + "\n")' "$work/many.txt"
mkdir "$work/oom"
status=0
(ulimit -v 160000; "$lists" -o "$work/oom" --corpus "$work/many.txt" \
  /usr/share/hunspell/sr_Latn_RS.dic >"$work/oom.txt" 2>"$work/oom.err") ||
  status=$?
[ "$status" -eq 1 ] || fail "memory limit: exit status $status, not 1: $(cat "$work/oom.txt")"
grep -qx 'Nema dovoljno memorije' "$work/oom.txt" || fail "memory limit: $(cat "$work/oom.txt")"
[ -z "$(ls -A "$work/oom")" ] || fail "memory limit: files written: $(ls -A "$work/oom")"

# A fill from the scored Cyrillic lists, with the report.
printf '*****\n*#*#*\n*****\n*#*#*\n*****\n' >"$work/pattern.txt"
"$fill" --alphabet sr-cyrl --lists "$work/cyrl" --stats --quiet \
  "$work/pattern.txt" >"$work/fill.txt" 2>"$work/fill.err" ||
  fail "fill: exit status $?"
cat "$work/fill.err"
grep -qx 'reci od dva ili vise slova: 6' "$work/fill.err" || fail "fill: words"
grep -qx 'PDR: 5.00 (teska)' "$work/fill.err" || fail "fill: PDR"
grep -qx 'crna polja: 4 (16.00%)' "$work/fill.err" || fail "fill: black squares"
grep -qx 'reci bez ocene: 0' "$work/fill.err" || fail "fill: unscored words"

# The same pattern keeping weak words apart: a fill with no weak crossing.
"$fill" --alphabet sr-cyrl --lists "$work/cyrl" --stats --quiet \
  --no-weak-crossings "$work/pattern.txt" >"$work/apart.txt" \
  2>"$work/apart.err" || fail "--no-weak-crossings: exit status $?"
echo "weak crossings: $(sed -n 's/^slaba ukrstanja: //p' "$work/fill.err") without" \
  "--no-weak-crossings, $(sed -n 's/^slaba ukrstanja: //p' "$work/apart.err") with it"
grep -qx 'slaba ukrstanja: 0' "$work/apart.err" ||
  fail "--no-weak-crossings: $(grep '^slaba' "$work/apart.err")"
echo "word_quality: ok"
