# The set-up the benchmark scripts share: installing the Debian packages
# a script found missing, and configuring the Release build with the
# benchmarks. Sourced, not run.

# Installs the packages named (none: nothing to do).
install_missing() {
  [ $# -gt 0 ] || return 0
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "$@" >/dev/null
}

# Configures the build folder $2 from the sources $1, unless it is already.
configure_bench_build() {
  [ -f "$2/CMakeCache.txt" ] && return 0
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPOLIMREZA_BENCH=ON -DPOLIMREZA_TESTS=OFF >/dev/null
}

# Sets `work` to the folder the run works in: KEEP, emptied first, when it
# is set (kept afterwards), otherwise a temporary folder removed at exit.
make_work_folder() {
  if [ -n "${KEEP:-}" ]; then
    work="$(realpath -m "$KEEP")"
    rm -rf "$work"
    mkdir -p "$work"
  else
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
  fi
}
