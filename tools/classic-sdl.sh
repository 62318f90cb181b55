#!/usr/bin/env bash
# Runs the test suite (the test preset's build) on classic SDL 1.2.15,
# unpacked beside the build by tools/classic-sdl-lib.sh and loaded through
# LD_LIBRARY_PATH (the binaries are not rebuilt). Where the release has no
# classic SDL 1.2.15, it says so and runs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh run test classic
status=0
bash tools/classic-sdl-lib.sh >/dev/null || status=$?
if [ "$status" -eq 3 ]; then
  echo "Classic SDL skipped."
  exit 0
fi
[ "$status" -eq 0 ] || exit "$status"
cmake --preset test >/dev/null
cmake --build --preset test
ctest --preset classic
