#!/usr/bin/env bash
# Builds and runs the benchmarks (Release, headless) and writes
# docs/performance.md from their results.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh bench
cmake --preset bench >/dev/null
cmake --build --preset bench
SDL_VIDEODRIVER=dummy build/bench/bench/anim_bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out=build/bench/results.json --benchmark_out_format=json
python3 -B tools/bench_report.py build/bench/results.json build/bench > docs/performance.md
echo "docs/performance.md written"
