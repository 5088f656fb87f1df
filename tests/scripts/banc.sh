#!/usr/bin/env bash
# The benchmark's own boards: each file is the one its definition writes,
# and the solver proves the published optimum of each (bilan fails when a
# definition's optimum differs).
set -euo pipefail
plateaux=$1
banc=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$plateaux" --sortie "$tmp" "$banc/Definitions.txt" > /dev/null
for f in "$banc"/*.wbp; do
  cmp "$f" "$tmp/Banc/$(basename "$f")"
done
[ "$(ls "$tmp/Banc" | wc -l)" -eq "$(ls "$banc"/*.wbp | wc -l)" ]
"$plateaux" bilan "$banc/Definitions.txt" > "$tmp/bilan.txt"
grep -q "| Century | 6 × 7 | 99 |" "$tmp/bilan.txt"
grep -q "| Super Century | 6 × 7 | 138 |" "$tmp/bilan.txt"
