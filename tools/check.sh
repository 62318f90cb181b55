#!/usr/bin/env bash
# The whole test suite, headless: the checked build (warnings are errors),
# then the same suite built with AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset test
cmake --workflow --preset asan
