#!/usr/bin/env bash
# Installs what is missing, builds everything and starts a program in its
# window. Without a display it runs the program headless through the test
# harness instead and saves some of its frames.
#
# Usage: tools/run.sh [program]   (scene_demo when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-scene_demo}
bash tools/install-deps.sh run
cmake --preset dev >/dev/null
cmake --build --preset dev
# The programs' names and the frames of a headless run.
source build/dev/programs.env
[[ " $ANIM_PROGRAMS " == *" $program "* ]] ||
  { echo "unknown program '$program' (one of: $ANIM_PROGRAMS)" >&2; exit 2; }

binary=build/dev/run/$program/$program
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  frames=build/dev/frames/$program
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running $program headless for $ANIM_RUN_FRAMES frames instead."
  rm -rf "$frames"  # no frames of an earlier run; headless.sh makes the folder
  bash tools/harness/headless.sh --frames "$ANIM_RUN_FRAMES" --save "$(seq -s, 1 50 "$ANIM_RUN_FRAMES")" \
    --save-dir "$frames" --in "$(dirname "$binary")" "$binary"
  echo "Frames saved as BMP files in $frames"
  exit 0
fi
cd "$(dirname "$binary")"
exec "./$program"
