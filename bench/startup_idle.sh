#!/usr/bin/env bash
# Start-up time (process start until the main window is mapped) and the CPU
# use of an idle main window (both timers running) over 10 seconds, under Xvfb.
#   bench/startup_idle.sh [path/to/signovat]
set -euo pipefail
bin="${1:-build/src/app/signovat}"
runs=10
work="$(mktemp -d)"
trap 'kill "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY="$display"

ms() { date +%s%N | awk '{ printf "%d", $1 / 1000000 }'; }

total=0
for i in $(seq "$runs"); do
  t0=$(ms)
  (cd "$work" && exec "$bin" --settings "$work/s.ini") >/dev/null 2>&1 &
  pid=$!
  xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
  t1=$(ms)
  total=$((total + t1 - t0))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
echo "start-up to main window shown: $((total / runs)) ms (mean of $runs)"

(cd "$work" && exec "$bin" --settings "$work/s.ini") >/dev/null 2>&1 &
pid=$!
xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
sleep 1
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
c0=$(ticks)
sleep 10
c1=$(ticks)
hz=$(getconf CLK_TCK)
kill "$pid"; wait "$pid" 2>/dev/null || true
awk -v d="$((c1 - c0))" -v hz="$hz" 'BEGIN { printf "idle main window: %.2f %% of one core over 10 s\n", 100 * d / hz / 10 }'
