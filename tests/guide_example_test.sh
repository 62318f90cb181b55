#!/usr/bin/env bash
# The program shown in docs/guide.md is docs/examples/minimal.cpp, to the
# letter: the guide's first C++ block and the file must not drift apart.
#
# Usage: guide_example_test.sh <docs dir>
set -euo pipefail
docs=$1
shown() { awk '/^```cpp$/ {inside = 1; next} /^```$/ && inside {exit} inside' "$docs/guide.md"; }
diff <(shown) "$docs/examples/minimal.cpp" >&2 ||
  { echo "docs/guide.md does not show docs/examples/minimal.cpp as it is" >&2; exit 1; }
echo "the guide shows docs/examples/minimal.cpp as it is"
