#!/usr/bin/env bash
# Starts tvs-updater on a private X server, then a second copy: the second
# must end at once with exit code 0 and show no window, the first must keep
# running with its one window.
#   second_copy.sh UPDATER
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
updater=$1

source "$(dirname "$0")/private_display.sh"

"$updater" --simulate=up-to-date &
app=$!
xdotool search --sync --name "^TVS Updater$" >/dev/null
code=0
timeout 5 "$updater" --simulate=up-to-date || code=$?
[ "$code" -eq 0 ] || { echo "the second copy ended with $code, expected 0 at once"; exit 1; }
kill -0 "$app" || { echo "the first copy ended"; exit 1; }
windows=$(xdotool search --name "^TVS Updater$" | wc -l)
[ "$windows" -eq 1 ] || { echo "$windows windows, expected the first copy's one"; exit 1; }
echo "the second copy ended with 0; the first runs with its one window"
