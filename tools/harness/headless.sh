#!/usr/bin/env bash
# headless: runs the dev build's anim_headless (build/dev/tools/harness/),
# which runs a program headless under the test harness, with the same
# arguments; `headless.sh --help` lists them. Installed, the command is
# <prefix>/bin/anim_headless (docs/headless.md).
#
# Usage: tools/harness/headless.sh [options] [--] program [args...]
set -euo pipefail
command=$(dirname "$0")/../../build/dev/tools/harness/anim_headless
[ -x "$command" ] ||
  { echo "headless.sh: no $command (build the dev preset: cmake --preset dev && cmake --build --preset dev)" >&2; exit 2; }
exec "$command" "$@"
