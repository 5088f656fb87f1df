#!/usr/bin/env bash
# Smoke test: the real program under Xvfb shows its shaped 364 × 139 front
# panel, quits from the panel's "QUITTER" button after confirmation, and
# writes its settings.
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

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
read -r _ xvfb_pid <&3
read -r -t 20 numero <&3 || echec "Xvfb ne démarre pas"
export DISPLAY=":$numero"
unset QT_QPA_PLATFORM

"$travail/programme/glissaro" >"$travail/journal" 2>&1 &
jeu_pid=$!

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

# "QUITTER" (340, 23, 14 × 16), then the confirmation's default button.
xdotool mousemove --window "$fenetre" 347 31 click 1
sleep 1
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
echo "Fenêtre de 364×139 avec sa forme, fermée proprement."
