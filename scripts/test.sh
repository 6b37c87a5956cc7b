#!/usr/bin/env bash
# Sets up, builds (warnings as errors) and runs the whole test suite with ctest.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
build="$lumigrave_root/build/test"
lumigrave_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIGRAVE_TESTS=ON -DLUMIGRAVE_WERROR=ON
export QT_QPA_PLATFORM=offscreen
exec ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600
