#!/usr/bin/env bash
# Runs tvs-updater against a simulated Trovix Studio on a private X server and
# goes through the update as a person would: waits for the update-available
# page, clicks UPDATE, waits for the last page, clicks the button that ends
# the program, and checks the pages shown (from the program's page trace) and
# the exit code.
#   update_through_window.sh UPDATER SCENARIO PAGE...   the pages expected, in order
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
updater=$1
scenario=$2
shift 2
expected="$*"

source "$(dirname "$0")/private_display.sh"

# The pages shown so far, one name a line.
pages() { sed -n 's/^{"page":"\([^"]*\)".*/\1/p' "$work/trace" 2>/dev/null; }
wait_for_page() {
  for _ in $(seq $(( $2 * 10 ))); do
    pages | grep -qx "$1" && return 0
    sleep 0.1
  done
  echo "no page $1 after $2 s; pages: $(pages | tr '\n' ' ')"
  exit 1
}

TVS_UPDATER_TRACE="$work/trace" "$updater" --simulate="$scenario" &
app=$!
wait_for_page update-available 15
window=$(xdotool search --sync --name "^TVS Updater$" | head -n 1)
# The action button, and after the update the button that ends the program,
# stand at the right end of the button row: 494..599 x 280..313.
xdotool mousemove --window "$window" 546 296 click 1
last=${expected##* }
wait_for_page "$last" 60
sleep 0.3
xdotool mousemove --window "$window" 546 296 click 1
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  echo "the program did not end after its last page's button was clicked"
  exit 1
fi
code=0
wait "$app" || code=$?
app=""
shown=$(pages | tr '\n' ' ' | sed 's/ $//')
echo "pages: $shown"
tail -n 1 "$work/trace"
[ "$code" -eq 0 ] || { echo "exit code $code, expected 0"; exit 1; }
[ "$shown" = "$expected" ] || { echo "expected pages: $expected"; exit 1; }
