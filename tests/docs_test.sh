#!/usr/bin/env bash
# The docs show the code as it is: the guide's first and second C++ blocks
# are docs/examples/minimal.cpp and docs/examples/scrolling.cpp to the
# letter; each line of the CMake blocks of the guide and of docs/headless.md
# is a line of the examples' own CMakeLists.txt, and each line of the
# README's FetchContent block (its placeholders filled in) a line of the
# subproject test's CMakeLists.txt; each test selection the testing page
# gives (`ctest --preset test -R <pattern>`) selects a test of the build.
# (tests/consumer_test.sh runs the README's install command and the guide's
# pkg-config command as they are written.)
#
# Usage: docs_test.sh <source dir> <ctest> <build dir>
set -euo pipefail
source=$1 ctest=$2 build=$3
source "$source/tests/doc_blocks.sh"

block=0
for example in minimal scrolling; do
  block=$((block + 1))
  diff <(doc_block "$source/docs/guide.md" cpp "$block") "$source/docs/examples/$example.cpp" >&2 ||
    { echo "docs/guide.md does not show docs/examples/$example.cpp as it is" >&2; exit 1; }
  echo "the guide shows docs/examples/$example.cpp as it is"
done

# Every line read on standard input, without its comment and its indent, is
# a line of the file $1 (indent aside).
lines_of() {
  local line
  while IFS= read -r line; do
    line=$(sed -e 's/#.*//' -e 's/^ *//' -e 's/ *$//' <<<"$line")
    [ -z "$line" ] || sed 's/^ *//' "$1" | grep -qxF -e "$line" ||
      { echo "${1#"$source"/} has no line '$line'" >&2; return 1; }
  done
  echo "${1#"$source"/} holds what the docs show"
}
for page in guide headless; do
  doc_block "$source/docs/$page.md" cmake 1 | lines_of "$source/docs/examples/CMakeLists.txt"
done
doc_block "$source/README.md" cmake 1 | sed -e 's|<path to anim>|${ANIM_SOURCE_DIR}|' -e 's|my_program|minimal|' |
  lines_of "$source/tests/subproject/CMakeLists.txt"

patterns=$(grep -o 'ctest --preset test -R [^`]*' "$source/docs/testing.md" | sed 's/.* -R //')
while IFS= read -r pattern; do
  [ "$("$ctest" --test-dir "$build" -N -R "$pattern" | grep -c 'Test *#')" -gt 0 ] ||
    { echo "docs/testing.md: -R $pattern selects no test" >&2; exit 1; }
done <<<"$patterns"
echo "each test selection of docs/testing.md selects a test"
