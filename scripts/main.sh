#!/usr/bin/env bash
# Sets up, builds, and runs Lumigrave's main job: the command-line watermarker on its
# built-in default.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
build="$lumigrave_root/build/release"
lumigrave_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIGRAVE_TESTS=OFF
exec "$build/src/cli/lumigrave-cli" "$@"
