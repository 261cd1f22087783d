#!/usr/bin/env bash
# Runs screen_reader.py against tvs-updater on a private X server, in a
# private D-Bus session whose accessibility bus (at-spi2-core's bus launcher
# and registry, started on demand) belongs to this test alone:
#   screen_reader_test.sh TOOLS UPDATER SCENARIO --simulate=NAME
#   screen_reader_test.sh TOOLS UPDATER SCENARIO HARNESS [HARNESS_OPTION...]
# TOOLS is the folder of close_window. Through the USB emulation harness the
# device starts unplugged and is plugged in by the scenario. Exits 77
# (skipped) when dbus-run-session, at-spi2-core or python3-pyatspi is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINDOW_TEST_TOOLS=$1
updater=$2
scenario=$3
shift 3

# Debian's interpreter, which has pyatspi; a python3 earlier in PATH would not.
python=/usr/bin/python3
command -v dbus-run-session >/dev/null || { echo "dbus-run-session is not installed (scripts/setup installs it)"; exit 77; }
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "at-spi2-core is not installed (scripts/setup installs it)"; exit 77; }
"$python" -c 'import pyatspi' 2>/dev/null || { echo "python3-pyatspi is not installed (scripts/setup installs it)"; exit 77; }

export WINDOW_TEST_ACCESSIBILITY=1
source "$here/../updater-window/private_display.sh"
export WINDOW_TEST_WORK=$work
reader=("$python" "$here/screen_reader.py" "$scenario" "$updater")
if [[ $1 == --simulate=* ]]; then
  command=("${reader[@]}" "$1")
else
  command=("$@" --plug-when="$work/plug" -- "${reader[@]}")
fi
# The session bus starts with the test's runtime folder and display, so that
# the bus launcher it starts puts its socket there, where no other test's is.
# Its own chatter about starting services is left out.
status=0
dbus-run-session -- "${command[@]}" 2>&1 | { grep -v '^dbus-daemon\[' || true; } || status=$?
no_other_program
exit "$status"
