#!/usr/bin/env bash
# Runs window_test.sh with a system bus of the test's own, so that the
# inhibitor lock the updater takes during an update is seen and never
# reaches the machine's session manager:
#   inhibitor_test.sh TOOLS UPDATER LAUNCHER... -- STEP...
# starts a private dbus-daemon with python3-dbusmock's mock session manager
# (its logind template) on it, for the steps lock:held and lock:none of
# drive_updater.sh (checked by inhibitor_lock.py); exits 77 (skipped) when
# dbus-daemon or python3-dbusmock is missing.
#   inhibitor_test.sh --without-bus TOOLS UPDATER LAUNCHER... -- STEP...
# gives the program no system bus at all, and checks that it says once, on
# standard error, that the update is not protected.
# The arguments after the mode are window_test.sh's.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "$1" = --without-bus ]; then
  shift
  export WINDOW_TEST_SYSTEM_BUS=unix:path=/nonexistent
  output=$(mktemp)
  trap 'rm -f "$output"' EXIT
  "$here/window_test.sh" "$@" 2>&1 | tee "$output"
  said=$(grep -c 'logout, shutdown and suspend are not held off' "$output" || true)
  [ "$said" -eq 1 ] || { echo "inhibitor_test: said $said times that the update is not protected" >&2; exit 1; }
  exit 0
fi

# Debian's interpreter, which has python3-dbusmock; a python3 earlier in PATH
# (pyenv, a virtual environment) would not.
python=/usr/bin/python3
command -v dbus-daemon >/dev/null || { echo "dbus-daemon is not installed (scripts/setup installs it)"; exit 77; }
"$python" -c 'import dbusmock' 2>/dev/null ||
  { echo "python3-dbusmock is not installed (scripts/setup installs it)"; exit 77; }

bus=$(mktemp -d)
daemon=""
mock=""
cleanup() {
  [ -n "$mock" ] && kill "$mock" 2>/dev/null || true
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null || true
  rm -rf "$bus"
}
trap cleanup EXIT

# Standard streams of their own: the lock check tells the lock's pipe from
# the others by the pipes the program and the mock share.
dbus-daemon --session --nofork --address="unix:path=$bus/socket" --print-address=3 \
  3>"$bus/address" </dev/null >/dev/null 2>"$bus/daemon.log" &
daemon=$!
for _ in $(seq 100); do [ -s "$bus/address" ] && break; sleep 0.1; done
[ -s "$bus/address" ] || { cat "$bus/daemon.log" >&2; echo "inhibitor_test: no private bus" >&2; exit 1; }
export WINDOW_TEST_SYSTEM_BUS=$(head -n 1 "$bus/address")
export DBUS_SYSTEM_BUS_ADDRESS=$WINDOW_TEST_SYSTEM_BUS
"$python" -m dbusmock --template logind </dev/null >"$bus/mock.log" 2>&1 &
mock=$!
"$here/inhibitor_lock.py" ready || { cat "$bus/mock.log" >&2; exit 1; }

export WINDOW_TEST_LOCK_CHECK=$here/inhibitor_lock.py
"$here/window_test.sh" "$@"
