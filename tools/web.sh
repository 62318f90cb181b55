#!/usr/bin/env bash
# Installs what is missing and builds the three programs for the browser
# into the static site build/web/site (an index page and a page for each
# program, with the pictures the desktop build's asset tool draws), and the
# test pages into build/web/test-pages.
#
# Usage: tools/web.sh [serve [port] | test | report | still]
#   serve   then serves the site on 127.0.0.1 (port 8000) until Ctrl-C
#   test    then runs the browser test against the desktop programs (the
#           test preset's build)
#   report  then measures the pages into docs/performance-browser.md
#   still   then takes docs/media/web-scene_demo.png from the browser
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh web
cmake --preset dev >/dev/null
cmake --build --preset dev --target anim_assets
cmake --preset web >/dev/null
cmake --build --preset web
site=build/web/site
echo "The site is in $site"
pages=(python3 -B tools/web_pages.py)
case "${1:-}" in
  "") ;;
  serve) exec "${pages[@]}" serve "$site" "${2:-8000}" ;;
  test)
    bash tools/install-deps.sh test
    cmake --preset test >/dev/null
    cmake --build --preset test
    ctest --preset web ;;
  report) "${pages[@]}" report "$site" docs/performance-browser.md && echo "docs/performance-browser.md written" ;;
  still) "${pages[@]}" still "$site" scene_demo.html docs/media/web-scene_demo.png 5000 ;;
  *) echo "unknown form '$1' (serve, test, report or still)" >&2; exit 2 ;;
esac
