#!/usr/bin/env bash
# Runs the test suite (the test preset's build) on classic SDL 1.2.15:
# Debian's libsdl1.2debian, which conflicts as a package with the
# compatibility library the project builds against, is unpacked into
# build/classic-sdl and loaded through LD_LIBRARY_PATH (same ABI: the
# binaries are not rebuilt). Where the release's libsdl1.2debian is not
# SDL 1.2.15 (Debian 13's is the compatibility library itself), it says so
# and runs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh run test classic

dest=build/classic-sdl
if [ ! -e "$dest/lib/libSDL-1.2.so.0" ]; then
  rm -rf "$dest" && mkdir -p "$dest"
  (cd "$dest" && apt-get download libsdl1.2debian 2>/dev/null)
  dpkg -x "$dest"/libsdl1.2debian_*.deb "$dest"
  ln -s "usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)" "$dest/lib"
fi
library=$(readlink -f "$dest/lib/libSDL-1.2.so.0")
# The version the library reports of itself, as SDL_Linked_Version gives it.
version=$(python3 -c 'import ctypes, sys
linked = ctypes.CDLL(sys.argv[1]).SDL_Linked_Version
linked.restype = ctypes.POINTER(ctypes.c_uint8 * 3)
print(*linked().contents, sep=".")' "$library")
if [ "$version" != 1.2.15 ]; then
  echo "Classic SDL skipped: this release's libsdl1.2debian is SDL $version, not classic SDL 1.2.15."
  exit 0
fi
echo "classic SDL $version: $library"
cmake --preset test >/dev/null
cmake --build --preset test
ctest --preset classic
