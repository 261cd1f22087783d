#!/usr/bin/env bash
# Starts `tvs-updater-cli update --yes`, waits for a phase to show on its
# standard error, sends it SIGNAL twice, and checks that it ends with exit
# code 1 and a last line that says EXPECTED (the state the device was left in).
#   interrupt_update.sh CLI SIGNAL PHASE EXPECTED
set -uo pipefail
cli=$1 signal=$2 phase=$3 expected=$4
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
fail() { cat "$errors" >&2; echo "interrupt_update: $*" >&2; exit 1; }

"$cli" update --yes 2>"$errors" >/dev/null &
pid=$!
for _ in $(seq 1200); do
  grep -qF -- "$phase" "$errors" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
grep -qF -- "$phase" "$errors" || fail "the phase \"$phase\" never showed"
kill -s "$signal" "$pid"
sleep 0.3
kill -s "$signal" "$pid"
wait "$pid"
status=$?
[ "$status" -eq 1 ] || fail "exit code $status instead of 1"
last=$(tail -n 1 "$errors")
[[ $last == *"ended by SIG$signal"*"$expected"* ]] || fail "the last line does not say \"$expected\": $last"
echo "interrupt_update: SIG$signal during \"$phase\": $last"
