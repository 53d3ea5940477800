#!/usr/bin/env bash
# Browser check of polimreza-studio: starts the server on tiny word lists in
# a temporary folder (with the ASCII letters, the Serbian Latin ones and the
# Serbian Cyrillic ones) and drives its page in headless Chromium
# (studio_browser.py).
# Takes the build folder (default build/dev), built just before.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/dev}
studio=$build/polimreza-studio
if [ ! -x "$studio" ]; then
  echo "studio_browser: $studio does not exist; build it first" >&2
  exit 1
fi
studio=$(realpath "$studio")

source tests/ci/browser_setup.bash

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
/usr/bin/python3 tests/ci/studio_browser.py --write-lists "$work/lists"

free_port() {
  /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Starts the server in folder $1 with the further arguments, and sets
# `started` to the address it announced. Not in a subshell: the server's
# process id must reach `pids` for the cleanup.
start() {
  local folder=$1
  shift
  mkdir -p "$folder"
  (cd "$folder" && exec "$studio" --lists "$work/lists" --port "$(free_port)" "$@") \
    >"$folder.out" 2>"$folder.err" &
  pids+=($!)
  for _ in $(seq 100); do
    if [ -s "$folder.out" ]; then
      started=$(head -n 1 "$folder.out")
      return
    fi
    sleep 0.1
  done
  echo "studio_browser: the server did not start" >&2
  cat "$folder.err" >&2
  exit 1
}

start "$work/ascii"
url=$started
start "$work/latin" --alphabet sr-latn
latin=$started
start "$work/cyrillic" --alphabet sr-cyrl
cyrillic=$started
mkdir -p "$build/studio_browser"
# Debian's own Python, the one python3-selenium installs into.
/usr/bin/python3 tests/ci/studio_browser.py "$url" "$work/ascii" \
  "$build/studio_browser/screenshot.png" "$latin" "$cyrillic"

# Each server stops on SIGINT with status 0 and has written nothing to
# standard error.
failed=0
for pid in "${pids[@]}"; do kill -INT "$pid"; done
for pid in "${pids[@]}"; do
  status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || { echo "studio_browser: a server exited with $status" >&2; failed=1; }
done
pids=()
for err in "$work"/*.err; do
  [ ! -s "$err" ] || { echo "studio_browser: $(basename "$err"):" >&2; cat "$err" >&2; failed=1; }
done
exit "$failed"
