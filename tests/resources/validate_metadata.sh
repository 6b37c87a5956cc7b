#!/usr/bin/env bash
# validate_metadata.sh DESKTOP_FILE METAINFO_FILE
# Runs the freedesktop validators on the desktop entry and the AppStream metadata.
# desktop-file-validate exits 0 on warnings and hints, yet software centres and menus act
# on them (a missing main category hides the entry in a catch-all menu), so any word
# from it fails the check; appstreamcli gets --strict for the same reason.
set -uo pipefail

if (($# != 2)); then
  echo "usage: $0 DESKTOP_FILE METAINFO_FILE" >&2
  exit 2
fi
desktop=$1
metainfo=$2
status=0

for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL: $tool is not installed (scripts/setup.sh installs it)" >&2
    exit 1
  fi
done

if ! output=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$output" ]; then
  echo "FAIL: desktop-file-validate $desktop" >&2
  echo "$output" >&2
  status=1
fi

if ! output=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1); then
  echo "FAIL: appstreamcli validate $metainfo" >&2
  echo "$output" >&2
  status=1
fi

exit $status
