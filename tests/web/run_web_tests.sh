#!/usr/bin/env bash
# Plays sessiya.html in the system's Chromium, headless, through playwright-core, against
# what the native engine and the desktop window hold, and the site beside it on a static host:
#   run_web_tests.sh PAGE STORY_MAP WINDOW_LINES WORK_DIR
set -euo pipefail
page=$1 story_map=$2 window_lines=$3 work=$4
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"

site="$(dirname "$page")/site"
for built in "$page" "$site/index.html"; do
  if [[ ! -f "$built" ]]; then
    echo "no $built: build it with: cmake --preset web && cmake --build --preset web" >&2
    exit 1
  fi
done
# The pinned driver, without any browser of its own.
if ! cmp -s "$here/package-lock.json" "$here/node_modules/.installed-lock.json"; then
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefix "$here" --no-audit --no-fund --loglevel=error
  cp "$here/package-lock.json" "$here/node_modules/.installed-lock.json"
fi

mkdir -p "$work"
"$story_map" "$work/story.dot" "$work/states.json" >/dev/null
QT_QPA_PLATFORM=offscreen "$window_lines" >"$work/lines.json" 2>/dev/null

export SESSIYA_PAGE="$page" SESSIYA_STATES="$work/states.json" SESSIYA_LINES="$work/lines.json"
export SESSIYA_SOURCE="$root" SESSIYA_SITE="$site"
exec node --test "$here"/*_test.mjs
