#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and
# builds Lumigrave into the directory given as $1, with any further arguments passed to
# CMake. Sourced by main.sh, test.sh, test-sanitize.sh and fuzz.sh.
set -euo pipefail

lumigrave_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

lumigrave_packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins qt6-svg-dev
  qt6-multimedia-dev qt6-webengine-dev libgl-dev
  msmtp
  qtkeychain-qt6-dev gnome-keyring dbus python3
  libsqlite3-dev libjpeg-dev libfontconfig-dev libexiv2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  desktop-file-utils appstream
)

# Installs those of the build's packages, and of any named as arguments, that are missing.
lumigrave_install_missing() {
  local missing=() p
  for p in "${lumigrave_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

lumigrave_build() {
  local build_dir=$1
  shift
  cmake -S "$lumigrave_root" -B "$build_dir" -G Ninja "$@" >/dev/null
  cmake --build "$build_dir" -j "$(nproc)"
}

lumigrave_install_missing
