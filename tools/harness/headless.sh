#!/usr/bin/env bash
# headless: runs a program headless under the test harness (preload.cpp),
# which drives it from outside: the dummy video driver, no pauses between
# frames, and what the options ask. The program runs in its own folder,
# where its pictures are, unless --in says otherwise, and replaces this
# script (same process, same exit status).
#
# Usage: headless.sh [options] [--] <command...>
#   The command is the program, or a program run through another one (such
#   as valgrind), the program last.
#   --harness LIB    the harness library (default: the dev build's)
#   --frames N       the quit comes at the first event poll of frame N
#   --events LIST    events before that quit, one a poll (key,keyup,motion,button)
#   --save LIST      frames to save as BMP files: all, or numbers and ranges (1,5-9)
#   --save-dir DIR   where they go, as frame_NNNNN.bmp (default: the folder it runs in)
#   --refuse K       the K-th image load fails as if the file were unreadable
#   --log FILE       a line per frame (its hash), per pause, and the loads and surfaces left at exit
#   --rss-every N    with the log, the resident memory every N frames
#   --driver NAME    SDL's video driver (default: dummy)
#   --in DIR         the folder to run in (default: the program's)
set -euo pipefail
harness=$(cd "$(dirname "$0")/../.." && pwd)/build/dev/tools/harness/libanim_harness.so
driver=dummy
folder=
# The harness reads only the variables given here, none inherited.
for variable in $(compgen -e); do [[ $variable == ANIM_HARNESS_* ]] && unset "$variable"; done
export ANIM_HARNESS_NO_DELAY=1

while [ $# -gt 0 ]; do
  case "$1" in
    --harness) harness=$(realpath -m "$2") ;;
    --frames) export ANIM_HARNESS_QUIT_AT=$2 ;;
    --events) export ANIM_HARNESS_EVENTS=$2 ;;
    --save) export ANIM_HARNESS_SAVE=$2 ;;
    --save-dir) export ANIM_HARNESS_SAVE_DIR=$(realpath -m "$2") ;;
    --refuse) export ANIM_HARNESS_FAIL_LOAD=$2 ;;
    --log) export ANIM_HARNESS_LOG=$(realpath -m "$2") ;;
    --rss-every) export ANIM_HARNESS_RSS_EVERY=$2 ;;
    --driver) driver=$2 ;;
    --in) folder=$2 ;;
    --) shift; break ;;
    -h | --help) sed -n '/^# Usage/,/^set /{/^#/s/^# \{0,1\}//p}' "$0"; exit 0 ;;
    -*) echo "headless.sh: unknown option $1 (--help lists them)" >&2; exit 2 ;;
    *) break ;;
  esac
  [ $# -ge 2 ] || { echo "headless.sh: $1 needs a value" >&2; exit 2; }
  shift 2
done
[ $# -gt 0 ] || { echo "usage: headless.sh [options] [--] <command...>" >&2; exit 2; }
[ -f "$harness" ] || { echo "headless.sh: no harness at $harness (build it first)" >&2; exit 2; }
# The folders the saved frames and the log go to.
[ -z "${ANIM_HARNESS_SAVE_DIR:-}" ] || mkdir -p "$ANIM_HARNESS_SAVE_DIR"
[ -z "${ANIM_HARNESS_LOG:-}" ] || mkdir -p "$(dirname "$ANIM_HARNESS_LOG")"

# The program's path holds from the folder it runs in.
program=$(realpath -m "${!#}")
set -- "${@:1:$#-1}" "$program"
cd "${folder:-$(dirname "$program")}"
export SDL_VIDEODRIVER=$driver LD_PRELOAD=$harness
exec "$@"
