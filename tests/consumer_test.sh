#!/usr/bin/env bash
# A separate program, docs/examples/minimal.cpp, built three ways: against the
# installed tree through the CMake package (with docs/examples/scrolling.cpp)
# and through pkg-config, and with the source tree pulled in by FetchContent,
# where GoogleTest and Google Benchmark cannot be found and nothing but the
# library may be built or installed. Each build runs headless for 60 frames
# under the installed anim_headless, --in the pictures' folder; the first
# also as the examples' test (anim::headless), with frames past its quit
# asked to be saved, which the harness must name, and without a picture,
# which the example must name. The install and the pkg-config build are the
# README's and the guide's commands, as written there, their placeholders
# filled in.
#
# Usage: consumer_test.sh <build dir> <source dir> <work dir>
set -euo pipefail
build=$1 source=$2 work=$3
examples=$source/docs/examples

source "$source/tests/doc_blocks.sh"

rm -rf "$work" && mkdir -p "$work"
doc_block "$source/README.md" sh 2 | sed -e "s|build/dev|$build|" -e "s|<prefix>|$work/prefix|" | bash >/dev/null
pictures=$work/prefix/share/anim/blink_sprite_test
headless=$work/prefix/bin/anim_headless

# run_headless <program, from the work folder> <name>
run_headless() {
  (cd "$work" && "$headless" --frames 60 --log "$2.log" --in "$pictures" "$1")
  frames=$(grep -c '^frame ' "$work/$2.log")
  [ "$frames" -eq 60 ] || { echo "$2: $frames frames instead of 60" >&2; exit 1; }
  grep -q '^exit loads=[0-9]* live=0$' "$work/$2.log" || { echo "$2: surfaces left behind" >&2; exit 1; }
  echo "$2: 60 frames, everything freed"
}

cmake -S "$examples" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
run_headless cmake-build/minimal "cmake-package"
ctest --test-dir "$work/cmake-build" --no-tests=error >/dev/null
# Run in the folder it is started from, the example finishes frame 3 after the quit.
said=$(cd "$pictures" && "$headless" --frames 3 --save 3-5 --save-dir "$work/saved" "$work/cmake-build/minimal" 2>&1)
[[ -f $work/saved/frame_00003.bmp &&
  $said == "anim_harness: frames 4-5 asked to be saved were never flipped (the program flipped 3 frames)" ]] ||
  { echo "frames past the quit: '$said'" >&2; exit 1; }

# Without its backdrop, the example names the picture it could not load.
broken=$work/broken
cp -r "$pictures" "$broken" && rm "$broken/img_fond.bmp"
said=$("$headless" --frames 3 -- env -C "$broken" "$work/cmake-build/minimal" 2>&1 >/dev/null) && status=0 || status=$?
[[ $status -eq 1 && $said == "minimal: cannot make the dawn: cannot load img_fond.bmp: "* ]] ||
  { echo "a missing picture: status $status, '$said'" >&2; exit 1; }
echo "a missing picture: $said"

doc_block "$source/docs/guide.md" sh 1 |
  sed -e "s|<prefix>|$work/prefix|" -e "s|minimal.cpp -o minimal|$examples/minimal.cpp -o $work/minimal-pc|" | bash
run_headless ./minimal-pc "pkg-config"

cmake -S "$source/tests/subproject" -B "$work/subproject" -G Ninja -DANIM_SOURCE_DIR="$source" \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON --no-warn-unused-cli >/dev/null
cmake --build "$work/subproject" >/dev/null
cmake --install "$work/subproject" --prefix "$work/subproject-prefix" >/dev/null
installed=$(find "$work/subproject-prefix" -type f 2>/dev/null || true)
[ -z "$installed" ] || { echo "subproject: installed files of its own: $installed" >&2; exit 1; }
run_headless subproject/minimal "subproject"
