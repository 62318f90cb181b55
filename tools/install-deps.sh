#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with, when
# any is missing. Needs root (or sudo) only when something must be installed.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config  # build
  libsdl1.2-compat-dev              # the one dependency of the toolkit
  libgtest-dev valgrind             # tests
  clang libclang-rt-dev             # the fuzzer
  imagemagick                       # tools/record.sh
  clang-format clang-tidy           # tools/lint.sh
  xvfb python3-xlib                 # the real-window test
  libcaca0 libasound2 libpulse0 libx11-6 libxext6  # what classic SDL 1.2.15 loads
  dpkg-dev                          # dpkg-architecture, to unpack classic SDL
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "Not root and no sudo: install these packages, then run again: ${missing[*]}" >&2
  exit 1
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
