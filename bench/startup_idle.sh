#!/usr/bin/env bash
# Start-up time (process start until the main window is mapped) and the CPU
# use of an idle main window (both timers running) over 10 seconds, under Xvfb.
#   bench/startup_idle.sh [path/to/signovat]
set -euo pipefail
bin="$(realpath "${1:-build/src/app/signovat}")"
runs=10
# Without a display of its own the script runs itself again under Xvfb.
if [ -z "${SIGNOVAT_BENCH_XVFB:-}" ]; then
  SIGNOVAT_BENCH_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$bin"
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Polls instead of "xdotool search --sync", which only looks twice a second.
wait_shown() {
  until xdotool search --onlyvisible --name "^Signovat" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "signovat ended before its window was shown:" >&2; cat "$work/err" >&2; exit 1; }
  done
}

total=0
for i in $(seq "$runs"); do
  t0=$(ms)
  (cd "$work" && exec "$bin" --settings "$work/s.ini") >/dev/null 2>"$work/err" &
  pid=$!
  wait_shown
  t1=$(ms)
  total=$((total + t1 - t0))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
echo "start-up to main window shown: $((total / runs)) ms (mean of $runs)"

(cd "$work" && exec "$bin" --settings "$work/s.ini") >/dev/null 2>"$work/err" &
pid=$!
wait_shown
sleep 1
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
c0=$(ticks)
sleep 10
c1=$(ticks)
hz=$(getconf CLK_TCK)
kill "$pid"; wait "$pid" 2>/dev/null || true
awk -v d="$((c1 - c0))" -v hz="$hz" 'BEGIN { printf "idle main window: %.2f %% of one core over 10 s\n", 100 * d / hz / 10 }'
