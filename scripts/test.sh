#!/usr/bin/env bash
# Set up, build and run every test: the browser edition's page first (the release build's
# tests play it), then the release build, then the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset web >/dev/null
cmake --build --preset web
for preset in default debug; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
