#!/usr/bin/env bash
# Runs the screen-reader test on PROGRAM in a private session bus and X server.
#   run_screen_reader_test.sh PROGRAM STORY_CATALOGUE_TOOL
set -euo pipefail
program=$1
catalogue_tool=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$catalogue_tool" > "$work/catalogue.json"
exec dbus-run-session -- xvfb-run -a /usr/bin/python3 "$(dirname "$0")/screen_reader_test.py" \
  "$program" "$work/catalogue.json" 2> >(grep -v -e 'Failed to set fd limit' >&2)
