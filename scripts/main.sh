#!/usr/bin/env bash
# Sets up, builds and starts Lumigrave. Where there is no display to show a window on,
# it runs the command-line watermarker's demo instead and says so.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
build="$lumigrave_root/build/release"
lumigrave_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIGRAVE_TESTS=OFF
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$build/src/app/lumigrave" "$@"
fi
echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so instead of the" \
  "application this runs the command-line demo: lumigrave-cli demo" >&2
exec "$build/src/cli/lumigrave-cli" demo
