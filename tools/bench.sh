#!/usr/bin/env bash
# Builds and runs the benchmarks (Release, headless), and the frame cost in
# the display's format under callgrind, and writes docs/performance.md from
# their results.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh bench classic
cmake --preset bench >/dev/null
cmake --build --preset bench
SDL_VIDEODRIVER=dummy build/bench/bench/anim_bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out=build/bench/results.json --benchmark_out_format=json
# The frame cost in the display's format, on classic SDL 1.2.15 too where
# the release has it.
classic=$(bash tools/classic-sdl-lib.sh || true)
python3 -B tools/frame_cost.py build/bench/bench/anim_frame_cost build/bench/frame_cost.json "$classic"
python3 -B tools/bench_report.py build/bench/results.json build/bench build/bench/frame_cost.json > docs/performance.md
echo "docs/performance.md written"
