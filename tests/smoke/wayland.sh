#!/usr/bin/env bash
# Smoke test on a Wayland desktop: the real program under weston's headless
# backend.
#   wayland.sh DOSSIER_PROGRAMME PIXELS SOURCES xwayland
#     with Xwayland: the game runs on the X11 platform, its shaped panel on
#     the X display.
#   wayland.sh DOSSIER_PROGRAMME PIXELS SOURCES seul
#     without an X server: the game runs on Wayland; a screenshot shows the
#     desktop's own pixels at the panel's corner outside its mask, and the
#     board's caption right under the panel's bottom edge.
# Exits 77 (skipped) with the reason when weston or Qt's Wayland plugin is
# not there.
set -euo pipefail
source_programme="$1"; pixels="$2"; sources="$3"; cas="$4"
travail="$(mktemp -d)"
weston_pid=""; jeu_pid=""
nettoyer() {
  [ -n "$jeu_pid" ] && kill "$jeu_pid" 2>/dev/null || true
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null || true
  rm -rf "$travail"
}
trap nettoyer EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }
sauter() { echo "IGNORÉ : $*"; exit 77; }

command -v weston >/dev/null || sauter "weston absent (paquet weston)"
command -v weston-screenshooter >/dev/null || sauter "weston-screenshooter absent (paquet weston)"
[ "$cas" = seul ] || command -v Xwayland >/dev/null || sauter "Xwayland absent (paquet xwayland)"

mkdir -p "$travail/programme/skins" "$travail/run"
chmod 700 "$travail/run"
cp "$source_programme/glissaro" "$travail/programme/"
cp -r "$source_programme/skins/Glissaro" "$travail/programme/skins/"
printf '[jeu]\r\nZoom=100\r\n' >"$travail/programme/Glissaro.ini"
# A board narrower than the panel: 3 cells, the master on the left.
printf 'V1.00\r\nMini\r\n3\r\n1\r\n1\r\n' >"$travail/Mini.wbp"
for cellule in "1 0 1 0 0 0 0 0 0" "3 0 0 0 0 0 0 0 0" "3 1 0 0 0 0 0 1 0"; do
  for v in $cellule; do printf '%s\r\n' "$v"; done
done >>"$travail/Mini.wbp"

cat >"$travail/weston.ini" <<'INI'
[core]
shell=desktop-shell.so
[shell]
background-color=0xff204060
panel-position=none
INI
export XDG_RUNTIME_DIR="$travail/run"
options=(--backend=headless-backend.so --use-pixman --debug --config="$travail/weston.ini" --socket=glissaro-essai
         --width=1024 --height=768)
[ "$cas" = xwayland ] && options+=(--xwayland)
weston "${options[@]}" >"$travail/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 1 50); do
  [ -S "$travail/run/glissaro-essai" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
[ -S "$travail/run/glissaro-essai" ] || sauter "weston ne démarre pas ici : $(tail -n 3 "$travail/weston.log" | tr '\n' ' ')"
export WAYLAND_DISPLAY=glissaro-essai
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
# As GNOME and KDE set it in a Wayland session.
export XDG_SESSION_TYPE=wayland

if [ "$cas" = xwayland ]; then
  affichage=""
  for _ in $(seq 1 50); do
    affichage=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$travail/weston.log" | head -n 1)
    [ -n "$affichage" ] && break
    sleep 0.1
  done
  [ -n "$affichage" ] || sauter "Xwayland ne démarre pas : $(tail -n 3 "$travail/weston.log" | tr '\n' ' ')"
  export DISPLAY="$affichage"
  "$travail/programme/glissaro" >"$travail/journal" 2>&1 &
  jeu_pid=$!
  fenetre=""
  for _ in $(seq 1 100); do
    fenetre=$(xdotool search --onlyvisible --name '^Glissaro$' 2>/dev/null | head -n 1 || true)
    [ -n "$fenetre" ] && break
    kill -0 "$jeu_pid" 2>/dev/null || echec "le jeu s'est arrêté : $(cat "$travail/journal")"
    sleep 0.1
  done
  [ -n "$fenetre" ] || echec "aucune fenêtre Glissaro sur l'écran X $DISPLAY : la plateforme X11 n'a pas été choisie"
  xwininfo -shape -id "$fenetre" | grep -q 'Window shape extents' || echec "panneau sans forme sous Xwayland"
  echo "Session Wayland avec Xwayland : le jeu tourne sous X11 ($DISPLAY), panneau découpé."
  exit 0
fi

unset DISPLAY
"$travail/programme/glissaro" "$travail/Mini.wbp" >"$travail/journal" 2>&1 &
jeu_pid=$!
sleep 1
if ! kill -0 "$jeu_pid" 2>/dev/null; then
  grep -qi 'plugin' "$travail/journal" && sauter "greffon Wayland de Qt absent (paquet qt6-wayland)"
  echec "le jeu s'est arrêté : $(cat "$travail/journal")"
fi

# The panel's size and where its mask begins, from the embedded mask.
masque="$sources/resources/skin/bmp/GLISSAROMASK.bmp"
read -r mx my _ _ < <("$pixels" boite "$masque")
largeur=364; hauteur=139
[ "$("$pixels" pixel "$masque" 0 0)" = FFFFFF ] || echec "le coin du masque n'est pas dehors"
# Its last row is outside the mask, the one above inside: in the middle
# of the screenshot, the desktop then the panel above the board's top edge.
[ "$("$pixels" pixel "$masque" $((largeur / 2)) $((hauteur - 1)))" = FFFFFF ] &&
  [ "$("$pixels" pixel "$masque" $((largeur / 2)) $((hauteur - 2)))" = 000000 ] || echec "masque inattendu"

# Screenshots until the board has come under the panel (2 s at most).
capture=""
for _ in $(seq 1 20); do
  rm -f "$travail"/wayland-screenshot*.png
  (cd "$travail" && weston-screenshooter >/dev/null 2>&1) || true
  capture=$(ls "$travail"/wayland-screenshot*.png 2>/dev/null | head -n 1 || true)
  if [ -n "$capture" ] && read -r bx by bl bh < <("$pixels" boite "$capture") && [ "$bh" -gt "$hauteur" ]; then break; fi
  sleep 0.1
done
[ -n "$capture" ] || echec "pas de capture d'écran (weston-screenshooter)"
read -r bx by bl bh < <("$pixels" boite "$capture") || echec "la capture ne montre aucune fenêtre"
[ "$bh" -gt "$hauteur" ] || echec "pas de plateau sous le panneau (${bl}×${bh})"
ox=$((bx - mx)); oy=$((by - my))
fond=$("$pixels" pixel "$capture" 0 0)
coin=$("$pixels" pixel "$capture" "$ox" "$oy")
[ "$coin" = "$fond" ] || echec "le coin du panneau hors du masque montre $coin, pas le bureau ($fond)"
milieu=$((ox + largeur / 2))
panneau=$("$pixels" pixel "$capture" "$milieu" $((oy + hauteur - 2)))
bord=$("$pixels" pixel "$capture" "$milieu" $((oy + hauteur - 1)))
dessous=$("$pixels" pixel "$capture" "$milieu" $((oy + hauteur)))
[ "$panneau" != "$fond" ] || echec "le bas du panneau montre le bureau"
[ "$bord" = "$fond" ] || echec "le plateau ne commence pas sous le bord du panneau ($bord en y $((oy + hauteur - 1)))"
[ "$dessous" != "$fond" ] || echec "un écart entre le panneau et le plateau (le bureau en y $((oy + hauteur)))"
echo "Session Wayland seule : coin du panneau transparent ($coin), plateau juste sous le panneau, fenêtre de ${bl}×${bh}."
