#!/usr/bin/env bash
# Starts tvs-updater on a private X server, then a second copy: the second
# must end at once with exit code 0 and show no window, the first must keep
# running with its one window, and end with 0 when it is closed.
#   second_copy.sh TOOLS UPDATER
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
tools=$1
updater=$2

source "$(dirname "$0")/private_display.sh"

"$updater" --simulate=up-to-date &
app=$!
window=$(xdotool search --sync --name "^TVS Updater$" | head -n 1)
code=0
timeout 5 "$updater" --simulate=up-to-date || code=$?
[ "$code" -eq 0 ] || { echo "the second copy ended with $code, expected 0 at once"; exit 1; }
kill -0 "$app" || { echo "the first copy ended"; exit 1; }
windows=$(xdotool search --name "^TVS Updater$" | wc -l)
[ "$windows" -eq 1 ] || { echo "$windows windows, expected the first copy's one"; exit 1; }
echo "the second copy ended with 0; the first runs with its one window"
"$tools/close_window" "$window"
code=0
timeout 5 tail --pid="$app" -f /dev/null || { echo "the first copy did not end when closed"; exit 1; }
wait "$app" || code=$?
app=""
[ "$code" -eq 0 ] || { echo "the first copy ended with $code, expected 0"; exit 1; }
