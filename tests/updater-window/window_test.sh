#!/usr/bin/env bash
# Runs tvs-updater on a private X server and goes through its window with
# drive_updater.sh, either against the program's own simulated device or
# through the USB emulation harness (the real libusb path, with a device that
# outlives each run, so that a run after "--then" finds what the one before
# left on it).
#   window_test.sh TOOLS UPDATER --simulate=SCENARIO -- STEP...
#   window_test.sh TOOLS UPDATER HARNESS [HARNESS_OPTION...] -- STEP... [--then STEP...]
# TOOLS is the folder of check_window_picture and close_window. A run with the
# step "plug" starts without the device on the bus.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINDOW_TEST_TOOLS=$1
updater=$2
shift 2
launcher=()
while [ "$1" != "--" ]; do launcher+=("$1"); shift; done
shift

source "$here/private_display.sh"
export WINDOW_TEST_WORK=$work

drive=("$here/drive_updater.sh" "$updater")
if [[ ${launcher[0]} == --simulate=* ]]; then
  "${drive[@]}" "${launcher[0]}" -- "$@"
  no_other_program
  exit
fi
runs=("${drive[@]}" --)
for step in "$@"; do
  case "$step" in
    --then) runs+=(--then "${drive[@]}" --) ;;
    plug) runs+=("$step"); launcher+=(--plug-when="$work/plug") ;;
    *) runs+=("$step") ;;
  esac
done
"${launcher[@]}" -- "${runs[@]}"
no_other_program
