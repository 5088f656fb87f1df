#!/usr/bin/env bash
# glissaro-plateaux generer: a board printed with its optimum and its seed,
# the same board again from the same seed, written when asked, and that
# optimum proved by glissaro-outils on the file written; a wrong word is
# refused in French.
set -euo pipefail
plateaux=$1
outils=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$plateaux" generer --boite 4x5 --niveau moyen --porte --graine 7 --sortie "$tmp/hasard.wbp" > "$tmp/a.txt"
"$plateaux" generer --boite 4x5 --niveau moyen --porte --graine 7 > "$tmp/b.txt"
grep -q "^; 4 × 5, Moyen, avec une porte : graine 7, " "$tmp/a.txt"
# The first line ends with the time taken: the rest must be the same.
diff <(tail -n +2 "$tmp/a.txt") <(tail -n +2 "$tmp/b.txt")
optimum=$(sed -n 's/^optimum: //p' "$tmp/a.txt")
[ "$optimum" -ge 21 ] && [ "$optimum" -le 40 ]
"$outils" verifier "$tmp/hasard.wbp" > /dev/null
"$outils" resoudre "$tmp/hasard.wbp" > "$tmp/solution.txt"
grep -qx "coups $optimum" "$tmp/solution.txt"
grep -qx "optimale oui" "$tmp/solution.txt"

if "$plateaux" generer --boite 7x7 --niveau moyen 2> "$tmp/erreur.txt"; then exit 1; fi
grep -q "^--boite attend 4x4, 4x5, 5x5 ou 6x6, pas « 7x7 »" "$tmp/erreur.txt"
echo "generer : le plateau de la graine 7 se refait à l'identique, optimum $optimum prouvé"
