#!/usr/bin/env bash
# Sets up, builds (warnings as errors) and runs the whole test suite with ctest, then the
# same suite built with sanitizers (test-sanitize.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
build="$lumigrave_root/build/test"
lumigrave_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIGRAVE_TESTS=ON -DLUMIGRAVE_WERROR=ON
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600
exec bash "$lumigrave_root/scripts/test-sanitize.sh"
