#!/usr/bin/env bash
# A check by hand with the Orca screen reader: runs Orca with its debug log
# and tvs-updater --simulate on a private X server and accessibility bus,
# clicks UPDATE, and shows what Orca received of the page messages and what
# it spoke. Succeeds when the log holds the update-available and the stand-by
# message.
#   tests/screen-reader/orca_check.sh [TOOLS UPDATER]
# TOOLS (the folder of close_window) and UPDATER default to the default
# build's. Orca comes from `scripts/setup --with-orca`.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tools=${1:-$here/../../build/tests/updater-window}
updater=${2:-$here/../../build/app/updater/tvs-updater}
command -v orca >/dev/null || { echo "orca is not installed (scripts/setup --with-orca installs it)"; exit 77; }

if [ -z "${SCREEN_READER_TEST_SESSION:-}" ]; then
  export SCREEN_READER_TEST_SESSION=1 WINDOW_TEST_ACCESSIBILITY=1
  source "$here/../updater-window/private_display.sh"
  export ORCA_CHECK_WORK=$work
  dbus-run-session -- "$0" "$tools" "$updater" 2>&1 | { grep -v '^dbus-daemon\[' || true; }
  exit "${PIPESTATUS[0]}"
fi

work=$ORCA_CHECK_WORK
export HOME=$work/home
mkdir -p "$HOME"
log=$work/orca.log
orca --replace --debug-file="$log" -u "$work/orca-settings" >"$work/orca.out" 2>&1 &
orca=$!
sleep 4
"$updater" --simulate >"$work/updater.out" 2>&1 &
app=$!
sleep 3
window=$(xdotool search --name 'TVS Updater' | head -n 1)
xdotool mousemove --window "$window" 546 296 click 1
sleep 3
# The update is under way: a plain kill would only ask the question.
kill "$orca"
kill -KILL "$app"
wait "$orca" "$app" 2>/dev/null || true

echo "Orca received:"
grep -o 'OBJECT EVENT: object:text-changed:insert.*' "$log" | sort -u
echo "Orca spoke:"
grep -o "SPEECH OUTPUT: '[^']*'" "$log"
grep -q 'A firmware update is available' "$log" && grep -q 'Please stand by' "$log"
