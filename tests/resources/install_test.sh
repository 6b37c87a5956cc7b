#!/usr/bin/env bash
# install_test.sh BUILD_DIR FACEBOOK_APP_ID PROJECT_VERSION [CMAKE]
# Installs the desktop integration component of a finished build into a temporary prefix
# and checks that menus, software centres and the URL-scheme lookup will find it: each
# file at its freedesktop path and nothing elsewhere, the names that tie the files
# together agreeing, and the Facebook sign-in scheme carrying the configured id.
set -euo pipefail

if (($# < 3)); then
  echo "usage: $0 BUILD_DIR FACEBOOK_APP_ID PROJECT_VERSION [CMAKE]" >&2
  exit 2
fi
build=$1
app_id=$2
version=$3
cmake=${4:-cmake}

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" --component desktop >/dev/null

desktop=share/applications/app.lumigrave.Lumigrave.desktop
metainfo=share/metainfo/app.lumigrave.Lumigrave.metainfo.xml
svg_icon=share/icons/hicolor/scalable/apps/app.lumigrave.Lumigrave.svg
png_icon=share/icons/hicolor/256x256/apps/app.lumigrave.Lumigrave.png

expected=$(printf '%s\n' "$desktop" "$metainfo" "$svg_icon" "$png_icon" | sort)
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
if [ "$actual" != "$expected" ]; then
  fail "installed files differ from the expected ones"
  diff <(echo "$expected") <(echo "$actual") >&2 || true
fi
# Stop here when something is missing: the checks below would only repeat it.
for f in $expected; do
  [ -f "$prefix/$f" ] || { echo "FAIL: $f was not installed" >&2; exit 1; }
done

# --- the desktop entry
entry() { sed -n "s/^$1=//p" "$prefix/$desktop"; }
grep -q '@' "$prefix/$desktop" && fail "$desktop still holds a configure placeholder"
[ "$(entry Name)" = Lumigrave ] || fail "Name is '$(entry Name)'"
[ "$(entry Exec)" = "lumigrave %U" ] || fail "Exec is '$(entry Exec)'"
[ "$(entry StartupWMClass)" = lumigrave ] || fail "StartupWMClass is '$(entry StartupWMClass)'"
icon=$(entry Icon)
[ "$icon.svg" = "$(basename "$svg_icon")" ] && [ "$icon.png" = "$(basename "$png_icon")" ] ||
  fail "Icon=$icon names no installed icon"

IFS=';' read -r -a mime_types <<<"$(entry MimeType)"
has_type() {
  local t
  for t in "${mime_types[@]}"; do [ "$t" = "$1" ] && return 0; done
  return 1
}
for t in image/jpeg image/png image/webp image/tiff image/bmp x-scheme-handler/lumigrave; do
  has_type "$t" || fail "MimeType lacks $t"
done
[[ $app_id =~ ^[0-9]{15}$ ]] || fail "the configured Facebook id '$app_id' is not 15 digits"
has_type "x-scheme-handler/fb$app_id" || fail "MimeType lacks x-scheme-handler/fb$app_id"
fb_schemes=$(printf '%s\n' "${mime_types[@]}" | grep -c '^x-scheme-handler/fb' || true)
[ "$fb_schemes" = 1 ] || fail "$fb_schemes fb schemes in MimeType, expected one"

# --- the AppStream metadata
meta=$(cat "$prefix/$metainfo")
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" <<<"$meta" ||
  fail "the metainfo's launchable is not $(basename "$desktop")"
grep -q "<id>${icon}</id>" <<<"$meta" || fail "the metainfo's id is not the icon name $icon"
for binary in lumigrave lumigrave-cli; do
  grep -q "<binary>$binary</binary>" <<<"$meta" || fail "the metainfo does not provide $binary"
done
# Software centres show the newest release as the installed version.
grep -q "<release version=\"$version\"" <<<"$meta" ||
  fail "the metainfo has no release entry for version $version"

# --- the icons
read -r -a ihdr <<<"$(od -An -tu1 -j12 -N12 "$prefix/$png_icon")"
# Bytes 12-15 are the chunk type "IHDR", then width and height as 32-bit big-endian.
if [ "${ihdr[*]:0:4}" != "73 72 68 82" ]; then
  fail "$png_icon is not a PNG"
else
  width=$(((ihdr[4] << 24) | (ihdr[5] << 16) | (ihdr[6] << 8) | ihdr[7]))
  height=$(((ihdr[8] << 24) | (ihdr[9] << 16) | (ihdr[10] << 8) | ihdr[11]))
  [ "$width" = 256 ] && [ "$height" = 256 ] || fail "$png_icon is $width x $height, not 256 x 256"
fi
grep -q '<svg' "$prefix/$svg_icon" || fail "$svg_icon is not an SVG drawing"

if ((failures > 0)); then
  exit 1
fi
echo "desktop integration installs correctly"
