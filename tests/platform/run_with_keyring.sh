#!/bin/sh
# Runs the command given against a Secret Service of its own: a private session bus and a
# keyring daemon unlocked with a throwaway password, all in a temporary home, so the test
# neither sees nor touches the user's keyring.
set -eu
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
  XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/runtime"
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS GNOME_KEYRING_CONTROL
# The daemon leaves when the session's bus goes away at the end.
exec dbus-run-session -- sh -c \
  'printf pw | gnome-keyring-daemon --unlock --components=secrets >/dev/null && exec "$@"' \
  sh "$@"
