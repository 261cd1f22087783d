# Sourced by the window tests: skips the test (exit 77) when Xvfb or xdotool
# is missing, makes a work folder `$work`, gives the program a runtime folder
# of its own (so the single-instance rule sees no other copy: a concurrent
# test or the user's own updater) and starts a private X server as $DISPLAY.
# The server has no core fonts (-fp built-ins), as on a machine without
# Debian's xfonts-base, and a zenity that records its call and fails comes
# first in PATH, as on a desktop that has one: the program must need neither
# (no_other_program says whether something ran it). The system bus is one
# that does not exist, so that no test takes an inhibitor lock from the
# machine's session manager, unless the test brings its own bus in
# $WINDOW_TEST_SYSTEM_BUS (inhibitor_test.sh). Accessibility is switched off
# (NO_AT_BRIDGE=1), so that no test publishes its window on the desktop's
# accessibility bus, unless the test brings its own bus and sets
# WINDOW_TEST_ACCESSIBILITY=1 (screen_reader_test.sh). On exit it ends the
# program whose pid is in `$app` (when set), the server, and removes the
# work folder.
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup installs it)"; exit 77; }
done
work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
export DBUS_SYSTEM_BUS_ADDRESS=${WINDOW_TEST_SYSTEM_BUS:-unix:path=$work/no-system-bus}
if [ "${WINDOW_TEST_ACCESSIBILITY:-}" != 1 ]; then
  export NO_AT_BRIDGE=1
fi

mkdir "$work/bin"
printf '#!/bin/sh\necho "zenity $*" >>"%s/zenity-calls"\nexit 1\n' "$work" >"$work/bin/zenity"
chmod +x "$work/bin/zenity"
export PATH="$work/bin:$PATH"
no_other_program() {
  if [ -e "$work/zenity-calls" ]; then
    echo "the program ran: $(cat "$work/zenity-calls")" >&2
    return 1
  fi
}

Xvfb -displayfd 3 -screen 0 1400x800x24 -dpi 96 -nolisten tcp -fp built-ins 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
