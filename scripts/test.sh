#!/usr/bin/env bash
# Set up, build and run every test: the release build, then the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
for preset in default debug; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
