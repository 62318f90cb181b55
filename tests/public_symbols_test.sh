#!/usr/bin/env bash
# Every global symbol the library defines outside a namespace is a function
# declared in one of its public headers: its shared helpers live in
# anim::detail, so they cannot collide with a caller's own names.
#
# Usage: public_symbols_test.sh <nm> <library> <public header folder>
set -euo pipefail
nm=$1 library=$2 headers=$3

# Defined global names, demangled, without the compiler's own (DW.ref...) and
# those inside a namespace (anim::detail::..., std::...).
mapfile -t names < <("$nm" -C --defined-only --extern-only "$library" |
  awk 'NF >= 3 { $1 = ""; $2 = ""; sub(/^  /, ""); print }' |
  grep -v -E '^(DW\.ref\.|__)' | sed -E 's/[(<].*//' | grep -v '::' | sort -u)
[ ${#names[@]} -gt 0 ] || { echo "no global function found in $library" >&2; exit 1; }

status=0
for name in "${names[@]}"; do
  grep -q -E "\\b$name\\(" "$headers"/*.h || { echo "not a public function: $name" >&2; status=1; }
done
echo "${#names[@]} global names, all public functions"
exit $status
