#!/usr/bin/env bash
# Builds the Debian package, unpacks it into an empty folder and plays the program installed
# there: its first scene and one move that shows a picture, read as a screen reader reads them.
#   package_test.sh BUILD_DIR STORY_CATALOGUE_TOOL
set -euo pipefail
build_dir=$1
catalogue_tool=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB -B "$work/package" --config "$build_dir/CPackConfig.cmake" >/dev/null
package=("$work"/package/*.deb)
dpkg-deb -x "${package[0]}" "$work/root"
echo "unpacked $(basename "${package[0]}"): $(find "$work/root" -type f | wc -l) files"
test -x "$work/root/usr/bin/sessiya"
test -f "$work/root/usr/share/sessiya/br_196.jpg"
test -f "$work/root/usr/share/sessiya/br_196@2x.jpg"
exec "$(dirname "$0")/../accessibility/run_screen_reader_test.sh" "$work/root/usr/bin/sessiya" \
  "$catalogue_tool"
