#!/usr/bin/env bash
# Installs the Debian packages that a task needs, when any is missing. Needs
# root (or sudo) only when something must be installed.
#
# Usage: tools/install-deps.sh TASK...
#   run      build the programs and start one (tools/run.sh)
#   test     the CTest suite of the test and asan presets
#   lint     formatting and static checks (tools/lint.sh)
#   fuzz     the fuzzer (tools/fuzz.sh)
#   classic  classic SDL 1.2.15 beside the build (tools/classic-sdl.sh)
#   web      the programs for the browser, and Chromium to run them (tools/web.sh)
#   check    all five above (tools/check.sh)
#   bench    the benchmarks (tools/bench.sh)
#   record   recordings of the programs (tools/record.sh)
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config  # build
  # the toolkit's three: SDL 1.2, the PNG decoder's source, the JSON reader's
  libsdl1.2-compat-dev libstb-dev nlohmann-json3-dev
)
tasks=("$@")
[[ " ${tasks[*]} " == *" check "* ]] && tasks+=(test lint fuzz classic web)
for task in "${tasks[@]}"; do
  case "$task" in
    run | check) ;;
    # The test presets build the benchmarks too; the real-window test runs
    # Xvfb and talks X from python3.
    test) packages+=(libgtest-dev libbenchmark-dev xvfb python3 python3-xlib) ;;
    lint) packages+=(clang-format clang-tidy) ;;
    fuzz) packages+=(clang libclang-rt-dev) ;;
    # What classic SDL 1.2.15 loads, and dpkg-architecture to unpack it.
    classic) packages+=(libcaca0 libasound2 libpulse0 libx11-6 libxext6 dpkg-dev) ;;
    web) packages+=(emscripten chromium python3) ;;
    bench) packages+=(libbenchmark-dev python3 valgrind) ;;
    record) packages+=(imagemagick) ;;
    *) echo "install-deps.sh: unknown task '$task' (run, test, lint, fuzz, classic, web, check, bench or record)" >&2
       exit 2 ;;
  esac
done

# What is installed: each package's name and the names it provides (Debian 13's
# libasound2t64 provides libasound2).
installed=" $(dpkg-query -W -f='${db:Status-Abbrev}|${Package}, ${Provides}\n' | sed -n 's/^ii *|//p' |
  sed 's/ *([^)]*)//g' | tr ',\n' '  ' | tr -s ' ') "
missing=()
for p in "${packages[@]}"; do
  [[ $installed == *" $p "* ]] || missing+=("$p")
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
