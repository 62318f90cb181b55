#!/usr/bin/env bash
# Installs what is missing, then runs the whole test suite headless: the
# checked build (warnings are errors) on the SDL 1.2 compatibility library,
# formatting and static checks, the same binaries on classic SDL 1.2.15 (with
# the frames of both compared; skipped, saying so, on a release that does
# not package it), the web build's frames in headless Chromium against the
# desktop's, a minute of fuzzing of the creation functions, and the suite
# built with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh check
cmake --workflow --preset test
bash tools/lint.sh
bash tools/classic-sdl.sh
bash tools/web.sh test
bash tools/fuzz.sh 60
cmake --workflow --preset asan
