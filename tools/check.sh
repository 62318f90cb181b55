#!/usr/bin/env bash
# The whole test suite, headless: the checked build (warnings are errors) on
# the SDL 1.2 compatibility library, the same binaries on classic SDL 1.2.15
# (with the frames of both compared), the suite built with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer, and a minute of fuzzing of
# the creation functions. Formatting and static checks run after the first
# build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset test
bash tools/lint.sh
bash tools/classic-sdl.sh
ctest --preset classic
cmake --workflow --preset asan
bash tools/fuzz.sh 60
