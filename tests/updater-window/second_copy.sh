#!/usr/bin/env bash
# Starts tvs-updater on a private X server, then a second copy: the second
# must end at once with exit code 0 and show no window, the first must keep
# running with its one window.
#   second_copy.sh UPDATER
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
updater=$1

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup installs it)"; exit 77; }
done
work=$(mktemp -d)
xvfb=""
first=""
cleanup() {
  [ -n "$first" ] && kill "$first" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

Xvfb -displayfd 3 -screen 0 800x600x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

"$updater" --simulate=up-to-date &
first=$!
xdotool search --sync --name "^TVS Updater$" >/dev/null
code=0
timeout 5 "$updater" --simulate=up-to-date || code=$?
[ "$code" -eq 0 ] || { echo "the second copy ended with $code, expected 0 at once"; exit 1; }
kill -0 "$first" || { echo "the first copy ended"; exit 1; }
windows=$(xdotool search --name "^TVS Updater$" | wc -l)
[ "$windows" -eq 1 ] || { echo "$windows windows, expected the first copy's one"; exit 1; }
echo "the second copy ended with 0; the first runs with its one window"
