#!/usr/bin/env bash
# The programs shown in docs/guide.md are docs/examples/minimal.cpp and
# docs/examples/scrolling.cpp, to the letter: the guide's first and second
# C++ blocks and the files must not drift apart.
#
# Usage: guide_example_test.sh <docs dir>
set -euo pipefail
docs=$1
# The n-th C++ block of the guide.
shown() { awk -v n="$1" '/^```cpp$/ {block++; if (block == n) {inside = 1; next}} /^```$/ && inside {exit} inside' "$docs/guide.md"; }
block=0
for example in minimal scrolling; do
  block=$((block + 1))
  diff <(shown "$block") "$docs/examples/$example.cpp" >&2 ||
    { echo "docs/guide.md does not show docs/examples/$example.cpp as it is" >&2; exit 1; }
  echo "the guide shows docs/examples/$example.cpp as it is"
done
