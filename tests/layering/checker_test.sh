#!/usr/bin/env bash
# checker_test.sh QT_INCLUDE_DIR
# Runs the layering check over a fixture tree that holds one include of each forbidden
# kind next to allowed ones, and requires exactly the forbidden ones to be named, with
# file and line, and the check to fail.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
output=$(bash "$here/check_layering.sh" "$here/fixture/src" "$1" 2>&1)
status=$?

expected='src/cli/main.cpp:5: #include <QApplication>
src/cli/main.cpp:6: #include "sharing/request.h"
src/cli/main.cpp:7: #include "ui/button.h"
src/cli/main.cpp:8: #include <QVideoWidget>
src/extras/tool.cpp: the folder extras has no layering rule
src/model/preset.cpp:3: #include "render/relief.h"
src/model/preset.cpp:4: #include <QtWidgets/QDialog>
src/platform/clock.cpp:3: #include <QLabel>
src/render/shade.cpp:6: #include "ui/button.h"
src/render/shade.cpp:8: #include "../ui/button.h"
src/render/shade.cpp:9: #include <QtWidgets>
src/sharing/request.cpp:4: #include "ui/button.h"
src/sharing/request.cpp:5: #include "sharing/ui/form.h"
src/sharing/request.cpp:7: #include <QMessageBox>
src/sharing/ui/form.cpp:8: #include "app/app_delegate.h"
src/ui/button.cpp:3: #include "model/preset.h"'

# Each report cut after the include it names (or after the finding, for a folder).
reported=$(grep '^src/' <<<"$output" |
  sed -E 's/^([^ ]+ #include [<"][^>"]*[>"]).*/\1/; s/^([^ ]+ the folder [a-z\/]+ has no layering rule).*/\1/')

if ((status != 1)); then
  echo "FAIL: the check exited $status on a tree with forbidden includes, not 1." >&2
  echo "$output" >&2
  exit 1
fi
if [[ $reported != "$expected" ]]; then
  echo "FAIL: the check named other includes than the forbidden ones." >&2
  diff <(echo "$expected") <(echo "$reported") | sed 's/^</missing:/; s/^>/unexpected:/' >&2
  exit 1
fi
echo "The check names each of the $(wc -l <<<"$expected") forbidden includes and fails."
