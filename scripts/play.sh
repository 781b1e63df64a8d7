#!/usr/bin/env bash
# Set up, build and open the game.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target sessiya
exec build/default/bin/sessiya
