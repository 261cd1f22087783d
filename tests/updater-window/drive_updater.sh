#!/usr/bin/env bash
# Starts tvs-updater on the X server of $DISPLAY and goes through its window
# as a person would, one step at a time. Run by window_test.sh, directly or
# through the USB emulation harness (then the program finds the emulated
# device through libusb).
#   drive_updater.sh UPDATER [ARGUMENT...] -- STEP...
# Steps:
#   page:NAME            waits up to 60 s for the page NAME to show after the
#                        page waited for last
#   click:right|left     clicks the button at that end of the button row
#   double-click:right   two clicks 80 ms apart
#   shot:NAME            compares the window with the reference picture NAME
#   close                asks the window to close, as a window manager's close
#                        button does
#   answer:KEY|yes|no    waits for the question the window asks when it is
#                        closed during an update and answers it with a key
#                        (Return, Escape) or by clicking Yes or No
#   key:KEY              types a key into the window (xdotool's key names:
#                        Return, space, Tab, shift+Tab, Escape, alt+F4)
#   pings                starts pinging the window as a window manager does
#   pings-within:MS      stops pinging; every ping was answered, the slowest
#                        within MS milliseconds
#   update-mode          waits up to 30 s for the emulated device to be in
#                        update mode (product id 1302)
#   run-mode             waits up to 30 s for it to be back in its normal
#                        mode (product id 1300), as after the write
#   signal:NAME          sends the program the signal (TERM, INT, HUP)
#   asks                 waits for the question the window asks before
#                        ending during an update, and leaves it open
#   plug                 plugs the emulated device in (see the harness's
#                        --plug-when)
#   sleep:SECONDS        waits
#   exits:SECONDS        the program ends within SECONDS with exit code 0
#   fails:SECONDS        the program ends within SECONDS with exit code 1
#   killed:SECONDS       the program ends within SECONDS by SIGKILL
#   pages:A,B,...        the pages shown so far, in order
#   log:TEXT             waits up to 10 s for TEXT in what the program wrote
#                        to standard error
#   lock:held|none       the mock session manager lists the program's
#                        inhibitor lock, held by the program / lists no lock
#                        (waits up to 5 s); needs $WINDOW_TEST_LOCK_CHECK
#                        (inhibitor_test.sh sets it)
# Needs $WINDOW_TEST_WORK (a folder for the trace, pictures and the plug file)
# and $WINDOW_TEST_TOOLS (the folder of check_window_picture and close_window).
set -euo pipefail
command=()
while [ "$1" != "--" ]; do command+=("$1"); shift; done
shift

trace=$(mktemp "$WINDOW_TEST_WORK/trace.XXXX")
errors=$(mktemp "$WINDOW_TEST_WORK/errors.XXXX")
app=""
trap '[ -n "${app:-}" ] && kill "$app" 2>/dev/null; [ -n "${pinger:-}" ] && kill "$pinger" 2>/dev/null; true' EXIT
fail() { echo "drive_updater: $*; pages: $(pages | tr '\n' ' ')" >&2; exit 1; }

# The pages shown so far, one name a line.
pages() { sed -n 's/^{"page":"\([^"]*\)".*/\1/p' "$trace"; }
seen=0
wait_for_page() {
  for _ in $(seq 600); do
    local line
    line=$(pages | awk -v page="$1" -v after="$seen" 'NR > after && $0 == page { print NR; exit }')
    if [ -n "$line" ]; then seen=$line; return 0; fi
    kill -0 "$app" 2>/dev/null || fail "the program ended before the page $1"
    sleep 0.1
  done
  fail "no page $1 after 60 s"
}

# The question is drawn in the window; the trace says when it opens. Its Yes
# and No buttons are at 309..414 and 421..526 x 255..288.
questions=0
wait_for_question() {
  questions=$((questions + 1))
  for _ in $(seq 50); do
    [ "$(grep -c '^{"question":"quit","open":true}' "$trace")" -ge "$questions" ] && return 0
    sleep 0.1
  done
  fail "no question after the window was asked to end"
}
answer_question() {
  wait_for_question
  case "$1" in
    yes) click_answer 361 ;;
    no) click_answer 473 ;;
    *) type_key "$1" ;;
  esac
}
# The trace says the question is open before it is laid out and painted; a
# click that comes earlier than a person's would finds no button yet. So the
# click is repeated, a few times at most, until the question is answered or
# the program has ended (after Yes).
click_answer() {
  for _ in 1 2 3 4 5; do
    xdotool mousemove --window "$window" $(( $1 * scale )) $(( 271 * scale )) && xdotool click 1
    for _ in $(seq 10); do
      [ "$(grep -c '^{"question":"quit","open":false}' "$trace")" -ge "$questions" ] && return 0
      kill -0 "$app" 2>/dev/null || return 0
      sleep 0.05
    done
  done
  fail "the question was not answered by clicks on its button"
}

# Keys go to the window that has the input focus.
type_key() {
  xdotool windowfocus --sync "$window" key --clearmodifiers "$1"
}

pinger=""
start_pings() {
  "$WINDOW_TEST_TOOLS/ping_window" "$window" "$WINDOW_TEST_WORK/pings" &
  pinger=$!
}
check_pings() {
  [ -n "$pinger" ] || fail "pings-within without pings"
  kill -TERM "$pinger" 2>/dev/null || true
  wait "$pinger" || fail "the window did not answer a ping: $(cat "$WINDOW_TEST_WORK/pings")"
  pinger=""
  local slowest
  slowest=$(sed -n 's/.*slowest \([0-9]*\) ms/\1/p' "$WINDOW_TEST_WORK/pings")
  echo "drive_updater: $(cat "$WINDOW_TEST_WORK/pings")"
  [ -n "$slowest" ] && [ "$slowest" -le "$1" ] || fail "a ping took longer than $1 ms: $(cat "$WINDOW_TEST_WORK/pings")"
}

# The emulated device's product id is in its device descriptor, at offset 10.
wait_for_product() {
  for _ in $(seq 300); do
    [ "$(od -An -tx1 -j10 -N2 /sys/bus/usb/devices/1-1/descriptors 2>/dev/null)" = " $1 13" ] && return 0
    sleep 0.1
  done
  fail "the device is not in $2 after 30 s"
}

# The program must end within $1 s with exit code $2.
expect_exit() {
  for _ in $(seq $(( $1 * 20 ))); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$app" 2>/dev/null && fail "the program did not end within $1 s"
  local code=0
  wait "$app" || code=$?
  app=""
  [ "$code" -eq "$2" ] || fail "exit code $code, expected $2"
}

# The trace line of a page is written as the page is built, before it is
# painted: the picture is read until it matches, for at most 5 s, so that a
# loaded machine paints late but never fails the test.
shot() {
  local picture="$WINDOW_TEST_WORK/$1.xwd"
  for _ in $(seq 25); do
    sleep 0.2
    xwd -id "$window" -silent >"$picture" && "$WINDOW_TEST_TOOLS/check_window_picture" "$1" "$picture" >/dev/null 2>&1 \
      && return 0
  done
  "$WINDOW_TEST_TOOLS/check_window_picture" "$1" "$picture" || fail "the window differs from $1"
}

# The button row's right and left buttons: 494..599 and 382..487 x 280..313,
# in device pixels at the display scale the program is given.
scale=${TVS_DISPLAY_SCALE:-1}
button_x() { case "$1" in right) echo $(( 546 * scale )) ;; left) echo $(( 434 * scale )) ;; *) fail "no button $1" ;; esac; }
button_y=$(( 296 * scale ))
# The pointer moves onto the button and the mouse button goes down and up
# through the X server's input, as a person's click does.
click() {
  local x=$1
  shift
  xdotool mousemove --window "$window" "$x" "$button_y" && xdotool click "$@" 1
}

wait_for_log() {
  for _ in $(seq 200); do
    grep -qF -- "$1" "$errors" && return 0
    sleep 0.05
  done
  fail "the program did not write: $1"
}

TVS_UPDATER_TRACE="$trace" "${command[@]}" 2> >(tee "$errors" >&2) &
app=$!
window=$(xdotool search --sync --onlyvisible --name '^TVS Updater$' | head -n 1)
for step in "$@"; do
  argument=${step#*:}
  case "$step" in
    page:*) wait_for_page "$argument" ;;
    click:*) click "$(button_x "$argument")" ;;
    double-click:*) click "$(button_x "$argument")" --repeat 2 --delay 80 ;;
    shot:*) shot "$argument" ;;
    close) "$WINDOW_TEST_TOOLS/close_window" "$window" ;;
    answer:*) answer_question "$argument" ;;
    key:*) type_key "$argument" ;;
    pings) start_pings ;;
    pings-within:*) check_pings "$argument" ;;
    sleep:*) sleep "$argument" ;;
    update-mode) wait_for_product 02 "update mode" ;;
    run-mode) wait_for_product 00 "its normal mode" ;;
    signal:*) kill -s "$argument" "$app" ;;
    asks) wait_for_question ;;
    plug) touch "$WINDOW_TEST_WORK/plug" ;;
    exits:*) expect_exit "$argument" 0 ;;
    fails:*) expect_exit "$argument" 1 ;;
    killed:*) expect_exit "$argument" 137 ;;
    log:*) wait_for_log "$argument" ;;
    lock:*) "${WINDOW_TEST_LOCK_CHECK:?lock steps need inhibitor_test.sh}" "$argument" "$app" ||
      fail "the inhibitor lock is not $argument" ;;
    pages:*) [ "$(pages | paste -sd,)" = "$argument" ] || fail "expected the pages $argument" ;;
    *) fail "unknown step $step" ;;
  esac
done
echo "drive_updater: $(pages | paste -sd,)"
