#!/usr/bin/env bash
# Unpacks Debian's libsdl1.2debian, which conflicts as a package with the
# compatibility library the project builds against, into build/classic-sdl
# (once) and prints the folder of its library, for LD_LIBRARY_PATH (same
# ABI: binaries built against the compatibility library load it as they
# are). Where the release's libsdl1.2debian is not classic SDL 1.2.15
# (Debian 13's is the compatibility library itself), it says so on standard
# error and exits with status 3. Needs what `install-deps.sh classic`
# installs.
set -euo pipefail
cd "$(dirname "$0")/.."
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
  echo "this release's libsdl1.2debian is SDL $version, not classic SDL 1.2.15" >&2
  exit 3
fi
echo "classic SDL $version: $library" >&2
echo "$PWD/$dest/lib"
