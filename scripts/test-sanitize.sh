#!/usr/bin/env bash
# Sets up, builds the test suite with AddressSanitizer and UndefinedBehaviorSanitizer into
# build/sanitize (no benchmarks) and runs it with ctest. The first report of either stops
# the program, so it fails the test it came from. test.sh runs this after the plain suite.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
build="$lumigrave_root/build/sanitize"

# Exported before the build as well: test discovery runs the test binaries.
export ASAN_OPTIONS="halt_on_error=1:print_stacktrace=1:detect_leaks=1:\
detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# Only leaks inside system libraries are suppressed; the file says which and why.
export LSAN_OPTIONS="suppressions=$lumigrave_root/tests/sanitize/lsan.supp:print_suppressions=0"

lumigrave_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIGRAVE_TESTS=ON \
  -DLUMIGRAVE_BENCH=OFF -DLUMIGRAVE_WERROR=ON -DLUMIGRAVE_SANITIZE=address,undefined
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 900
