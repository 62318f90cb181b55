#!/usr/bin/env bash
# Records a program headless through the test harness: an animated GIF of
# its frames and, optionally, chosen frames as PNG stills.
#
# Usage: tools/record.sh <program> <frames> <out.gif> [every] [stills]
#   program  a program, or scrolling (the guide's example), as the dev
#            preset builds them into build/dev/run
#   frames   how many frames to run
#   every    keep one frame in this many (default 1); the GIF still plays at
#            the program's pace, the time its frames pause
#   stills   frame numbers to also write as <out>-<frame>.png ("1,100")
# Example: tools/record.sh scene_demo 520 docs/media/scene_demo.gif 2 1,300
set -euo pipefail
# Without its arguments it shows the usage above.
[ $# -ge 3 ] || { sed -n '/^# Usage/,/^set /{/^#/s/^# \{0,1\}//p}' "$0" >&2; exit 2; }
cd "$(dirname "$0")/.."
program=$1 frames=$2 out=$3 every=${4:-1} stills=${5:-}

bash tools/install-deps.sh run record
cmake --preset dev >/dev/null
cmake --build --preset dev >/dev/null
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
bash tools/harness/headless.sh --frames "$frames" --save all --save-dir "$shots" --log "$shots/log" \
  --in "build/dev/run/$program" "build/dev/run/$program/$program"
# The program's pace: the time its frames pause, on average, as the log
# counts them.
frame_ms=$(awk '/^pause / { ms += $2 } /^frame / { n++ } END { print int(ms / n + 0.5) }' "$shots/log")

kept=()
for ((n = 1; n <= frames; n += every)); do kept+=("$shots/$(printf 'frame_%05d.bmp' "$n")"); done
mkdir -p "$(dirname "$out")"
# One palette for the whole animation keeps the colours steady from frame to
# frame; unchanged areas are left out of each frame.
convert -delay "$((frame_ms * every / 10))" -loop 0 "${kept[@]}" +dither -colors 255 -layers OptimizeTransparency "$out"
echo "$out: ${#kept[@]} frames, $(du -k "$out" | cut -f1) KB"
for n in ${stills//,/ }; do
  convert "$shots/$(printf 'frame_%05d.bmp' "$n")" "${out%.gif}-$n.png"
  echo "${out%.gif}-$n.png"
done
