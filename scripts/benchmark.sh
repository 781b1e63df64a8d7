#!/usr/bin/env bash
# Runs every benchmark and prints the figures: the story step, a move in the window and the
# start-up against a minimal Qt window (time and peak memory, offscreen and under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target sessiya scene_pictures story_step_benchmark \
  move_benchmark startup_benchmark startup_probe minimal_window >/dev/null
bench=build/default/bench

# The median of a Google Benchmark run, in the given unit.
median() {
  "$@" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
    --benchmark_format=json 2>/dev/null |
    /usr/bin/python3 -c 'import json, sys
runs = json.load(sys.stdin)["benchmarks"]
print(next(r for r in runs if r.get("aggregate_name") == "median")["real_time"])'
}

step_ns=$(median "$bench/story_step_benchmark")
move_us=$(QT_QPA_PLATFORM=offscreen median "$bench/move_benchmark")
printf '%-46s %12s %10s\n' measure median target
printf '%-46s %9.0f ns %10s\n' "story step alone, no pictures" "$step_ns" "< 100 ns"
printf '%-46s %9.3f ms %10s\n' "move: press to the next frame painted" \
  "$(/usr/bin/python3 -c "print($move_us / 1000)")" "< 0.8 ms"
echo
"$bench/startup_benchmark" build/default/bin/sessiya "$bench/minimal_window" \
  "$bench/libstartup_probe.so" 20
