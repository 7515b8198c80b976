#!/usr/bin/env bash
# Runs the libFuzzer harnesses of tests/fuzz and prints what they did.
#
#   scripts/fuzz.sh HARNESS SECONDS      fuzz one harness for a time
#   scripts/fuzz.sh HARNESS --runs N     fuzz one harness for N executions
#   scripts/fuzz.sh --smoke [SECONDS]    every harness for SECONDS (20), as CI does
#   scripts/fuzz.sh --list               the harnesses
#
# Builds the harnesses with clang, the address and undefined-behaviour
# sanitizers and coverage hooks in BUILD_DIR (default build-libfuzzer). Inputs
# the fuzzer finds interesting go to BUILD_DIR/fuzz-work/HARNESS/corpus, next
# to the seeds in tests/corpus/HARNESS, which are only read. A failing input
# stays in BUILD_DIR/fuzz-work/HARNESS/findings; once its fault is fixed,
# copy it into tests/corpus/HARNESS/ so that CTest replays it from then on.
#
# Every run uses -rss_limit_mb=2048 -timeout=2 and runs at low priority; a
# harness's tests/fuzz/HARNESS.options adds its own flags (one a line).
# Exits non-zero when a harness had a finding. On a busy machine the low
# priority alone can stretch one input past the two seconds: run a timeout's
# input alone (build-libfuzzer/tests/fuzz/fuzz_HARNESS FILE) to tell.
#
# ASAN_OPTIONS defaults to malloc_context_size=0: Qt is built without frame
# pointers, so a stack taken at an allocation through Qt ends in garbage that
# differs every time; the sanitizer keeps each such stack and its memory grows
# until the RSS limit stops the run. A finding's input replayed with
# build-libfuzzer/tests/fuzz/fuzz_HARNESS FILE (ASAN_OPTIONS= for the
# allocation stacks) or through CTest shows the whole report.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${BUILD_DIR:-build-libfuzzer}"
export ASAN_OPTIONS="${ASAN_OPTIONS-malloc_context_size=0}"
# One harness per tests/fuzz/fuzz_<name>.cpp.
harnesses=()
for source in tests/fuzz/fuzz_*.cpp; do
  name="${source##*/fuzz_}"
  harnesses+=("${name%.cpp}")
done

usage() {
  sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

build() {
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -C tests/fuzz/clangfuzz.cmake -S . -B "$build_dir" -G Ninja > /dev/null
  fi
  local targets=()
  for h in "$@"; do targets+=("fuzz_$h"); done
  nice -n 10 ninja -C "$build_dir" -j 2 "${targets[@]}" > /dev/null
}

# fuzz HARNESS LIMIT...: one libFuzzer run; prints one summary line.
fuzz() {
  local harness="$1"
  shift
  local work="$build_dir/fuzz-work/$harness"
  mkdir -p "$work/corpus" "$work/findings"
  local extra=()
  [ -f "tests/fuzz/$harness.dict" ] && extra+=("-dict=tests/fuzz/$harness.dict")
  if [ -f "tests/fuzz/$harness.options" ]; then
    while read -r flag; do
      case "$flag" in ''|'#'*) ;; *) extra+=("$flag") ;; esac
    done < "tests/fuzz/$harness.options"
  fi
  local log="$work/fuzz.log"
  touch "$work/started"

  local status=0
  nice -n 10 "$build_dir/tests/fuzz/fuzz_$harness" \
    -rss_limit_mb=2048 -timeout=2 -print_final_stats=1 \
    -artifact_prefix="$work/findings/" "${extra[@]}" "$@" \
    "$work/corpus" "tests/corpus/$harness" > "$log" 2>&1 || status=$?

  local runs execs cov ft corpus findings
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  execs=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  corpus=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -1 | cut -d' ' -f2)
  findings=$(find "$work/findings" -type f -newer "$work/started" | wc -l)
  if [ "$status" -ne 0 ] && [ "$findings" -eq 0 ]; then
    findings=1  # the fuzzer stopped without writing its input (e.g. out of memory while starting)
  fi
  printf '%-10s runs=%s exec/s=%s cov=%s ft=%s corpus=%s findings=%s\n' \
    "$harness" "${runs:-?}" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corpus:-?}" "$findings"
  if [ "$findings" -ne 0 ]; then
    echo "  log: $log" >&2
    find "$work/findings" -type f -newer "$work/started" -printf '  finding: %p\n' >&2
    grep -m 3 -E 'ERROR|check failed|runtime error' "$log" | sed 's/^/  /' >&2 || true
    return 1
  fi
}

known() {
  local h
  for h in "${harnesses[@]}"; do [ "$h" = "$1" ] && return 0; done
  echo "unknown harness '$1'; known: ${harnesses[*]}" >&2
  exit 2
}

[ $# -ge 1 ] || usage
case "$1" in
  --list)
    printf '%s\n' "${harnesses[@]}"
    ;;
  --smoke)
    seconds="${2:-20}"
    build "${harnesses[@]}"
    failed=0
    # A loaded CI machine may stretch one input past two seconds: the smoke
    # counts only an input that takes longer than the run itself.
    for h in "${harnesses[@]}"; do
      fuzz "$h" -max_total_time="$seconds" -timeout=$((seconds + 20)) || failed=1
    done
    exit "$failed"
    ;;
  -*)
    usage
    ;;
  *)
    harness="$1"
    known "$harness"
    [ $# -ge 2 ] || usage
    if [ "$2" = "--runs" ]; then
      [ $# -eq 3 ] || usage
      limit=(-runs="$3")
    else
      [ $# -eq 2 ] || usage
      limit=(-max_total_time="$2")
    fi
    build "$harness"
    fuzz "$harness" "${limit[@]}"
    ;;
esac
