#!/usr/bin/env bash
# Records a program headless through the test harness: an animated GIF of
# its frames and, optionally, chosen frames as PNG stills.
#
# Usage: tools/record.sh <program> <frames> <out.gif> [every] [stills]
#   program  scene_demo, blink_sprite_test, blink_test or scrolling (the
#            guide's example), as the dev preset builds them
#   frames   how many frames to run
#   every    keep one frame in this many (default 1); the GIF still plays at
#            the program's pace of 20 frames a second
#   stills   frame numbers to also write as <out>-<frame>.png ("1,100")
# Example: tools/record.sh scene_demo 520 docs/media/scene_demo.gif 2 1,300
set -euo pipefail
cd "$(dirname "$0")/.."
program=$1 frames=$2 out=$3 every=${4:-1} stills=${5:-}

bash tools/install-deps.sh run record
cmake --preset dev >/dev/null
cmake --build --preset dev >/dev/null
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
(cd "build/dev/run/$program" &&
  SDL_VIDEODRIVER=dummy LD_PRELOAD="$PWD/../../tools/harness/libanim_harness.so" \
  ANIM_HARNESS_QUIT_AT="$frames" ANIM_HARNESS_NO_DELAY=1 ANIM_HARNESS_SAVE=all ANIM_HARNESS_SAVE_DIR="$shots" \
  "./$program")

kept=()
for ((n = 1; n <= frames; n += every)); do kept+=("$shots/$(printf 'frame_%05d.bmp' "$n")"); done
mkdir -p "$(dirname "$out")"
# One palette for the whole animation keeps the colours steady from frame to
# frame; unchanged areas are left out of each frame.
convert -delay "$((5 * every))" -loop 0 "${kept[@]}" +dither -colors 255 -layers OptimizeTransparency "$out"
echo "$out: ${#kept[@]} frames, $(du -k "$out" | cut -f1) KB"
for n in ${stills//,/ }; do
  convert "$shots/$(printf 'frame_%05d.bmp' "$n")" "${out%.gif}-$n.png"
  echo "${out%.gif}-$n.png"
done
