#!/usr/bin/env bash
# Formatting (.clang-format) and static checks (.clang-tidy) of every C++
# source, on the compile commands of the test build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh run test lint
mapfile -t sources < <(find anim programs tools tests bench docs -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run --Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files formatted"
[ -f build/test/compile_commands.json ] || cmake --preset test >/dev/null
# The stb_*.cpp files compile stb's own sources as they are.
run-clang-tidy -quiet -p build/test '^(?!.*/stb_[a-z]+[.]cpp$).*/(anim|programs|tools|tests|bench)/' \
  > build/test/clang-tidy.log 2>&1 ||
  { sed 's/\x1b\[[0-9;]*m//g' build/test/clang-tidy.log | grep -E 'warning:|error:' >&2; exit 1; }
echo "clang-tidy: no findings"
