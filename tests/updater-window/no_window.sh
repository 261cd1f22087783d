#!/usr/bin/env bash
# no_window.sh UPDATER: runs the updater on a display that refuses its window
# (SDL is asked for an X visual that does not exist) and expects exit status
# 1 and a sentence that says the window cannot be opened.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
updater=$1
source "$here/private_display.sh"
status=0
output=$(SDL_VIDEO_X11_WINDOW_VISUALID=0x7fffffff timeout 20 "$updater" --simulate 2>&1) || status=$?
if [ "$status" -ne 1 ]; then
  echo "expected exit status 1, got $status; output: $output"
  exit 1
fi
case $output in
*"the window cannot be opened"*) ;;
*) echo "the output does not say that the window cannot be opened: $output"; exit 1 ;;
esac
