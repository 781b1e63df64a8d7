#!/usr/bin/env bash
# Runs the screen-reader test on the page in Chromium in a private session bus and X server.
#   run_web_screen_reader_test.sh PAGE STORY_CATALOGUE_TOOL
set -euo pipefail
page=$1
catalogue_tool=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$catalogue_tool" > "$work/catalogue.json"
exec dbus-run-session -- xvfb-run -a /usr/bin/python3 \
  "$(dirname "$0")/web_screen_reader_test.py" "$page" "$work/catalogue.json" \
  2> >(grep -v -e 'Failed to set fd limit' -e 'dbus-daemon' -e 'SpiRegistry' >&2)
