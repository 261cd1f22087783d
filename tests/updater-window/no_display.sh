#!/bin/sh
# no_display.sh UPDATER: runs the updater where no display server answers and
# expects exit status 1 and a sentence that names the cause.
updater=$1
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR=/nonexistent \
    timeout 20 "$updater" --simulate 2>&1)
status=$?
if [ "$status" -ne 1 ]; then
    echo "expected exit status 1, got $status; output: $output"
    exit 1
fi
case $output in
*"no display could be reached"*) exit 0 ;;
*) echo "the output does not name the missing display: $output"; exit 1 ;;
esac
