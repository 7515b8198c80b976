#!/usr/bin/env bash
# Sets up, builds and runs every test: once in the normal build and once with
# the address and undefined-behaviour sanitizers; then a short fuzzing run of
# every parser (the long runs are scripts/fuzz.sh HARNESS SECONDS).
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
jobs="$(nproc)"

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSIGNOVAT_WERROR=ON > /dev/null
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSIGNOVAT_SANITIZE=ON -DSIGNOVAT_WERROR=ON \
  -DSIGNOVAT_BUILD_BENCH=OFF > /dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j "$jobs"

scripts/fuzz.sh --smoke 10

# The Debian package of the normal build: built, installed, run and purged
# again (as root only; it says so when it skips).
scripts/check-package.sh build-test
