#!/usr/bin/env bash
# Times the browser edition in headless Chromium: first scene painted against a static page
# of the same size, and one move, in both of the page's layouts; medians over RUNS runs (20
# by default). Viewports after RUNS replace the two default ones. Then a player's first
# visit over a slow phone network, the one-file page and the site each served over HTTP,
# beside the same scene without script; medians of five:
#   web_benchmark.sh [RUNS [WIDTHxHEIGHT ...]]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset web >/dev/null
cmake --build --preset web >/dev/null
if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.installed-lock.json; then
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
  cp tests/web/package-lock.json tests/web/node_modules/.installed-lock.json
fi
uptime
node bench/web/page_benchmark.mjs build/web/web/sessiya.html "${1:-20}" "${@:2}"
node bench/web/first_visit_benchmark.mjs 5 one-file=build/web/web/sessiya.html site=build/web/web/site
