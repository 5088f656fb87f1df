#!/usr/bin/env bash
# Smoke test: the real program under Xvfb shows its shaped 364 × 139 front
# panel and a board given on its command line, at the "200 %" size kept in
# its settings, both with the game's icon; opens the replay window and the
# editor, quits from the panel's "QUITTER" button after confirmation, and
# writes its settings. Every window's title, as the desktop reads it
# (_NET_WM_NAME), is its own caption and nothing more.
#   demarrage.sh DOSSIER_PROGRAMME
set -euo pipefail
source_programme="$1"
travail="$(mktemp -d)"
xvfb_pid=""; jeu_pid=""
nettoyer() {
  [ -n "$jeu_pid" ] && kill "$jeu_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$travail"
}
trap nettoyer EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }

# A program folder of its own: the executable and the default skin's tiles.
mkdir -p "$travail/programme/skins"
cp "$source_programme/glissaro" "$travail/programme/"
cp -r "$source_programme/skins/Glissaro" "$travail/programme/skins/"
printf '[jeu]\r\nZoom=200\r\n' >"$travail/programme/Glissaro.ini"

# -noreset: the server stays as it is when the game quits, so that the
# next start never meets it resetting.
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null & echo "pid $!"; wait)
read -r _ xvfb_pid <&3
read -r -t 20 numero <&3 || echec "Xvfb ne démarre pas"
export DISPLAY=":$numero"
unset QT_QPA_PLATFORM

# A shipped board whose title has an accent; its title in UTF-8, its size
# in cells, and the tile size of the default skin (the height of its tile
# picture, a tenth of it).
plateau=""
while IFS= read -r f; do
  if sed -n 2p "$f" | LC_ALL=C grep -q $'[\x80-\xff]'; then plateau="$f"; break; fi
done < <(find "$source_programme/plateaux" -name '*.wbp' | sort)
[ -n "$plateau" ] || echec "aucun plateau au titre accentué"
titre_plateau="$(sed -n 2p "$plateau" | tr -d '\r' | iconv -f WINDOWS-1252 -t UTF-8)"
largeurCases=$(sed -n 3p "$plateau" | tr -d '\r'); hauteurCases=$(sed -n 4p "$plateau" | tr -d '\r')
hauteurPieces=$(od -An -t d4 -j 22 -N 4 "$travail/programme/skins/Glissaro/pieces.bmp" | tr -d ' -')
case_=$((hauteurPieces / 10))

"$travail/programme/glissaro" "$plateau" >"$travail/journal" 2>&1 &
jeu_pid=$!

# The titles of the program's visible windows, one a line.
titres() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$jeu_pid" 2>/dev/null); do
    LC_ALL=C.UTF-8 xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME([A-Z0-9_]*) = "\(.*\)"$/\1/p'
  done
}
# Waits (5 s at most) for a visible window titled exactly so.
attendre_titre() {
  for _ in $(seq 1 50); do
    grep -qxF -- "$1" <<<"$(titres)" && return 0
    sleep 0.1
  done
  echec "pas de fenêtre « $1 » ; titres : $(titres | paste -sd '|')"
}

fenetre=""
for _ in $(seq 1 100); do
  fenetre=$(xdotool search --onlyvisible --name '^Glissaro$' 2>/dev/null | head -n 1 || true)
  [ -n "$fenetre" ] && break
  sleep 0.1
done
[ -n "$fenetre" ] || echec "aucune fenêtre Glissaro"

infos=$(xwininfo -id "$fenetre")
largeur=$(sed -n 's/^ *Width: //p' <<<"$infos")
hauteur=$(sed -n 's/^ *Height: //p' <<<"$infos")
[ "$largeur" = 364 ] && [ "$hauteur" = 139 ] || echec "fenêtre de ${largeur}×${hauteur}"
forme=$(xwininfo -shape -id "$fenetre")
grep -q 'Window shape extents' <<<"$forme" || echec "fenêtre sans forme"
icone() { xprop -id "$1" _NET_WM_ICON >"$travail/icone" && grep -q '^_NET_WM_ICON(CARDINAL) = .*Icon (16 x 16)' "$travail/icone"; }
icone "$fenetre" || echec "panneau sans icône"

# The board window: twice the board's size in pixels, with the icon too.
attendu="$((2 * largeurCases * case_))x$((2 * hauteurCases * case_))"
trouve=""
for _ in $(seq 1 50); do
  for w in $(xdotool search --onlyvisible --pid "$jeu_pid" 2>/dev/null); do
    [ "$w" = "$fenetre" ] && continue
    i=$(xwininfo -id "$w")
    taille="$(sed -n 's/^ *Width: //p' <<<"$i")x$(sed -n 's/^ *Height: //p' <<<"$i")"
    if [ "$taille" = "$attendu" ]; then trouve="$w"; break 2; fi
  done
  sleep 0.1
done
[ -n "$trouve" ] || echec "pas de fenêtre de plateau de $attendu à 200 %"
icone "$trouve" || echec "fenêtre du plateau sans icône"

attendre_titre "Glissaro"
attendre_titre "$titre_plateau"
# "RETOUR" (242, 107, 21 × 19): the replay window.
xdotool mousemove --window "$fenetre" 252 116 click 1
attendre_titre "Magnétoscope"
# "PARAM" (107, 105, 19 × 20), then "&Editeur de plateau" in its menu.
avant="$(xdotool search --onlyvisible --pid "$jeu_pid" | wc -l)"
xdotool mousemove --window "$fenetre" 116 115 click 1
for _ in $(seq 1 30); do
  [ "$(xdotool search --onlyvisible --pid "$jeu_pid" | wc -l)" -gt "$avant" ] && break
  sleep 0.1
done
xdotool key e
attendre_titre "Editeur Glissaro"
# The editor stands over the panel: out of the way.
editeur="$(xdotool search --all --onlyvisible --pid "$jeu_pid" --name '^Editeur Glissaro$' | head -n 1)"
xdotool windowmove --sync "$editeur" 2000 2000
# "QUITTER" (340, 23, 14 × 16), then the confirmation's default button.
xdotool mousemove --window "$fenetre" 347 31 click 1
attendre_titre "Confirmation"
! grep -q ' — Glissaro$' <<<"$(titres)" || echec "un titre porte le nom du programme en plus : $(titres | paste -sd '|')"
xdotool key Return
for _ in $(seq 1 50); do
  kill -0 "$jeu_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$jeu_pid" 2>/dev/null; then echec "le programme ne s'est pas fermé"; fi
wait "$jeu_pid" || echec "code de sortie non nul"
jeu_pid=""
grep -q '^Nom=Glissaro' "$travail/programme/Glissaro.ini" || echec "paramètres non écrits"
[ -d "$travail/programme/plateaux" ] && [ -d "$travail/programme/sequences" ] || echec "dossiers non créés"

# A tiny board played to its end with the mouse: its record is kept.
printf 'V1.00\r\nMini\r\n3\r\n1\r\n1\r\n' >"$travail/Mini.wbp"
for cellule in "1 0 1 0 0 0 0 0 0" "3 0 0 0 0 0 0 0 0" "3 1 0 0 0 0 0 1 0"; do
  for v in $cellule; do printf '%s\r\n' "$v"; done
done >>"$travail/Mini.wbp"
"$travail/programme/glissaro" "$travail/Mini.wbp" >"$travail/journal" 2>&1 &
jeu_pid=$!
attendre_titre "Mini"
mini="$(xdotool search --all --onlyvisible --pid "$jeu_pid" --name '^Mini$' | head -n 1)"
# Cells of 2 × case_ pixels at 200 %: the master from the first cell to the
# third, by quarter cells.
y=$case_
xdotool mousemove --window "$mini" "$case_" "$y" mousedown 1
for x in $(seq $((case_ + case_ / 2)) $((case_ / 2)) $((5 * case_))); do
  xdotool mousemove --window "$mini" "$x" "$y"
  sleep 0.02
done
xdotool mouseup 1
attendre_titre "Information"
xdotool key Escape
grep -q '^Meilleur=1' "$travail/programme/Records.ini" && grep -q '^Resolu=1' "$travail/programme/Records.ini" ||
  echec "record non retenu : $(cat "$travail/programme/Records.ini" 2>/dev/null)"
kill "$jeu_pid"
wait "$jeu_pid" 2>/dev/null || true
jeu_pid=""

echo "Fenêtre de 364×139 avec sa forme et son icône, plateau de $attendu à 200 %, titres exacts, fermée proprement ; un petit plateau joué jusqu'au bout laisse son record."
