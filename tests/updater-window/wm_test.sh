#!/usr/bin/env bash
# Runs tvs-updater against its simulated device under a real window manager
# (openbox, with a configuration of its own so that the user's does not
# matter) on a private X server: closed during its update with the manager's
# own close key (Alt+F4) and answered No, the update goes on to the success
# page. The window must answer pings all along.
#   wm_test.sh TOOLS UPDATER
# Exits 77 (skipped) when Xvfb, xdotool or openbox is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINDOW_TEST_TOOLS=$1
updater=$2
command -v openbox >/dev/null || { echo "openbox is not installed (scripts/setup installs it)"; exit 77; }
source "$here/private_display.sh"
export WINDOW_TEST_WORK=$work

cat >"$work/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew></focus>
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
  </keyboard>
</openbox_config>
XML
openbox --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
manager=$!
trap 'kill "$manager" 2>/dev/null || true; cleanup' EXIT
# The manager is up once it publishes the current desktop.
for _ in $(seq 100); do xdotool get_desktop >/dev/null 2>&1 && break; sleep 0.1; done
xdotool get_desktop >/dev/null 2>&1 || { echo "openbox did not start: $(cat "$work/openbox.log")"; exit 1; }

"$here/drive_updater.sh" "$updater" --simulate=update-available -- \
  page:update-available pings click:right page:stand-by key:alt+F4 answer:Escape page:success \
  pings-within:1000 click:right exits:5 pages:connect,update-available,stand-by,success
kill -0 "$manager" 2>/dev/null || { echo "openbox ended: $(cat "$work/openbox.log")"; exit 1; }
no_other_program
