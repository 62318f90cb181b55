#!/usr/bin/env bash
# Installs what is missing and builds the three programs for the browser
# into the static site build/web/site: an index page and a page for each
# program, with the pictures the desktop build's asset tool draws.
#
# Usage: tools/web.sh [serve [port] | report | still]
#   serve   then serves the site on 127.0.0.1 (port 8000) until Ctrl-C
#   report  then measures the pages in headless Chromium into docs/performance.md
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
case "${1:-}" in
  "") ;;
  serve) exec python3 tools/web_pages.py serve "$site" "${2:-8000}" ;;
  report) python3 tools/web_pages.py report "$site" docs/performance.md && echo "docs/performance.md written" ;;
  still) python3 tools/web_pages.py still "$site" scene_demo.html docs/media/web-scene_demo.png 5000 ;;
  *) echo "unknown form '$1' (serve, report or still)" >&2; exit 2 ;;
esac
