#!/usr/bin/env bash
# Takes the quick tutorial's pictures of the application's screens again, into
# resources/html_files/pictures, after a screen changed. Uses the test build in build/test.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake --build "$root/build/test" --target editor_tests
LUMIGRAVE_TUTORIAL_PICTURES="$root/resources/html_files/pictures" QT_QPA_PLATFORM=offscreen \
  "$root/build/test/tests/app/editor_tests" --gtest_also_run_disabled_tests \
  --gtest_filter='TutorialPictures.*'
