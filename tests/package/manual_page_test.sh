#!/usr/bin/env bash
# Formats the manual page as man does, with groff's warnings on, and reads its NAME line as
# mandb does: a warning or an unreadable NAME fails.
#   manual_page_test.sh PAGE
set -euo pipefail
page=$1
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
if [[ -n $warnings ]]; then
  echo "$warnings" >&2
  exit 1
fi
lexgrog "$page"
