#!/usr/bin/env bash
# Plays a long seeded random game on the real windows, headless:
#   bash scripts/soak.sh [EVENTS] [SEED]     (defaults: 1000000 events, seed 1)
# A failure prints the seed and the shortest sequence of events that shows it.
set -euo pipefail
cd "$(dirname "$0")/.."

events=${1:-1000000}
seed=${2:-1}
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target soak_tests
QT_QPA_PLATFORM=offscreen build/default/tests/soak_tests --events="$events" --seed="$seed" \
  --gtest_filter=Soak.NothingGoesWrongForARandomPlayer
