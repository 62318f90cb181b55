#!/usr/bin/env bash
# Installs what is missing, builds everything and starts a program in its
# window. Without a display it runs the program headless through the test
# harness instead and saves some of its frames.
#
# Usage: tools/run.sh [scene_demo | blink_sprite_test | blink_test]
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-scene_demo}
case "$program" in
  scene_demo | blink_test | blink_sprite_test) ;;
  *) echo "unknown program '$program' (scene_demo, blink_sprite_test or blink_test)" >&2; exit 2 ;;
esac

bash tools/install-deps.sh run
cmake --preset dev >/dev/null
cmake --build --preset dev

run_dir=build/dev/run/$program
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  frames=$PWD/build/dev/frames/$program
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running $program headless for 520 frames instead."
  rm -rf "$frames" && mkdir -p "$frames"
  (cd "$run_dir" &&
    SDL_VIDEODRIVER=dummy LD_PRELOAD="$PWD/../../tools/harness/libanim_harness.so" \
    ANIM_HARNESS_QUIT_AT=520 ANIM_HARNESS_NO_DELAY=1 \
    ANIM_HARNESS_SAVE=1,27,53,79,104,150,200,300,400,520 ANIM_HARNESS_SAVE_DIR="$frames" "./$program")
  echo "Frames saved as BMP files in $frames"
  exit 0
fi
cd "$run_dir"
exec "./$program"
