#!/usr/bin/env bash
# Unpacks classic SDL 1.2.15 (Debian's libsdl1.2debian, which conflicts as a
# package with the compatibility library the project builds against) into
# build/classic-sdl, so that the test suite can run on it through
# LD_LIBRARY_PATH. Same ABI: the binaries are not rebuilt.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh classic

dest=build/classic-sdl
[ -e "$dest/lib/libSDL-1.2.so.0" ] && exit 0
rm -rf "$dest" && mkdir -p "$dest"
(cd "$dest" && apt-get download libsdl1.2debian 2>/dev/null)
dpkg -x "$dest"/libsdl1.2debian_*.deb "$dest"
ln -s "usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)" "$dest/lib"
echo "classic SDL unpacked: $(readlink -f "$dest/lib")/libSDL-1.2.so.0"
