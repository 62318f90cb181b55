#!/usr/bin/env bash
# The docs show the code as it is: the guide's first and second C++ blocks
# are docs/examples/minimal.cpp and docs/examples/scrolling.cpp to the
# letter; each line of the CMake blocks of the guide and of docs/headless.md
# is a line of the examples' own CMakeLists.txt, and each line of the
# README's FetchContent block (its placeholders filled in) a line of the
# subproject test's CMakeLists.txt.
# (tests/consumer_test.sh runs the README's install command and the guide's
# pkg-config command as they are written.)
#
# Usage: docs_test.sh <source dir>
set -euo pipefail
source=$1
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
