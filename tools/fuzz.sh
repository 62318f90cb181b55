#!/usr/bin/env bash
# Builds the fuzzer of the creation functions with clang and runs it for a
# bounded time (default 60 s) on the seeds it writes into build/fuzz/seeds.
# The corpus it grows stays in build/fuzz/corpus; a crash leaves its input in
# build/fuzz.
#
# Usage: tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh run fuzz
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/seeds build/fuzz/corpus
cd build/fuzz
ASAN_OPTIONS=detect_leaks=1 tests/fuzz/anim_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
  -print_final_stats=1 corpus seeds
