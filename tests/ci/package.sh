#!/usr/bin/env bash
# The Debian package: builds it with the `package` preset, unpacks it with
# dpkg -x into a scratch folder (never into the machine's package list), and
# checks its fields, each installed program, the installed example, the
# manual pages, lintian's verdict, and that `cmake --install build/dev`
# installs the same files. Assumes build/dev was built just before.
set -euo pipefail
cd "$(dirname "$0")/../.."

need=()
command -v dpkg-shlibdeps >/dev/null || need+=(dpkg-dev)
command -v lintian >/dev/null || need+=(lintian)
command -v groff >/dev/null || need+=(groff)
command -v man >/dev/null || need+=(man-db)
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi

fail() { echo "package.sh: $*" >&2; exit 1; }
top=$PWD
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

version=$(sed -n 's/^project(Polimreza VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in CMakeLists.txt"
cmake --workflow --preset package
deb=build/package/polimreza_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "$deb was not built"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

# Fields, owners and modes.
[ "$(dpkg-deb -f "$deb" Package)" = polimreza ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong version"
[ "$(dpkg-deb -f "$deb" Suggests)" = hunspell-sr ] || fail "wrong Suggests"
dpkg-deb -f "$deb" Depends | grep -q 'libc6 (>=' || fail "no computed Depends"
odd=$(dpkg-deb --contents "$deb" | awk '{
  want = ($1 ~ /^d/ || $6 ~ /^\.\/usr\/bin\//) ? "rwxr-xr-x" : "rw-r--r--"
  if ($2 != "root/root" || substr($1, 2) != want) print $1, $2, $6 }')
[ -z "$odd" ] || fail "wrong owner or mode: $odd"

root=$scratch/root/usr
dpkg -x "$deb" "$scratch/root"
[[ "$(zcat "$root/share/doc/polimreza/changelog.gz")" == \
  "polimreza ($version) "* ]] || fail "the changelog does not start at $version"

# Every installed program runs from the PATH, and has a manual page that
# groff and man render without a warning.
export PATH="$root/bin:$PATH"
[ -x "$root/bin/Polimreza" ] || fail "Polimreza is not installed"
cd "$scratch"
for path in "$root"/bin/*; do
  program=$(basename "$path")
  echo "Checking the installed $program"
  if [ "$program" = Polimreza ]; then
    Polimreza >usage.txt || fail "Polimreza exited non-zero"
    cmp usage.txt "$top/tests/e2e/usage/expected.txt" ||
      fail "Polimreza does not print its usage text"
  else
    "$program" --help >help.txt || fail "$program --help failed"
    [ -s help.txt ] || fail "$program --help printed nothing"
    [ "$("$program" --version)" = "$program $version" ] ||
      fail "$program --version is not $version"
  fi
  page=$root/share/man/man1/$program.1.gz
  [ -f "$page" ] || fail "$program has no manual page"
  warnings=$(zcat "$page" | groff -ww -z -man 2>&1)
  [ -z "$warnings" ] || fail "groff warns on $page: $warnings"
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man warns on $page: $warnings"
done

# The installed example, run from a folder of its own.
mkdir example
cp "$root"/share/doc/polimreza/examples/* example/
(cd example && Polimreza ukrstenica.txt) >example.txt
cmp example.txt "$top/tests/e2e/example/expected.txt" ||
  fail "the installed example does not give the expected output"
cd "$top"

# `cmake --install` from the test build: exactly the programs built there,
# with their manual pages, and the same tree as the package's.
[ -x build/dev/Polimreza ] || fail "build/dev is not built"
cmake --install build/dev --prefix "$scratch/prefix" >/dev/null
{
  for program in Polimreza polimreza-fill polimreza-lists polimreza-export \
    polimreza-studio; do
    [ -x "build/dev/$program" ] || continue
    echo "bin/$program"
    echo "share/man/man1/$program.1.gz"
  done
  for file in README.md copyright changelog.gz examples/ukrstenica.txt \
    examples/{1..9}.txt; do
    echo "share/doc/polimreza/$file"
  done
} | sort >"$scratch/expected"
(cd "$scratch/prefix" && find . ! -type d | sed 's|^\./||' | sort) \
  >"$scratch/installed"
diff -u "$scratch/expected" "$scratch/installed" ||
  fail "cmake --install installs other files than expected"
(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) >"$scratch/packaged"
diff -u "$scratch/installed" "$scratch/packaged" ||
  fail "the package holds other files than cmake --install"

# lintian: no error; warnings and notes are shown.
lintian --fail-on error --display-info "$deb" || fail "lintian found errors"
echo "package.sh: all checks passed"
