#!/usr/bin/env bash
# Rewrites the golden dumps of the chart pages (tests/render/golden) from what
# the renderer draws now, then shows which dumps changed. Read that diff in
# review: every changed line is a primitive the pages now draw differently.
#
#   scripts/update-golden.sh            builds in build-test
#   BUILD_DIR=build-x scripts/update-golden.sh
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build-test}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSIGNOVAT_BUILD_BENCH=OFF
fi
cmake --build "$BUILD_DIR" --target test_render_golden
(cd "$BUILD_DIR/tests/render" &&
  QT_QPA_PLATFORM=offscreen SIGNOVAT_UPDATE_GOLDEN=1 ./test_render_golden --gtest_brief=1)
git diff --stat -- tests/render/golden
git status --short -- tests/render/golden | grep '^??' || true
