#!/usr/bin/env bash
# The Debian package: built by CPack from the build, its files, lintian,
# the desktop entry and the AppStream metadata; then unpacked into a
# temporary root and started under Xvfb with an empty HOME: the player's
# folder is made with every shipped board, the panel shows, quitting writes
# Glissaro.ini there and never among the shipped data. A new version of the
# shipped data keeps the board the player changed and puts the new one
# beside it as "(nouveau)".
#   debian.sh CONSTRUCTION
# Exits 77 (skipped) with the reason when the tools are missing.
set -euo pipefail
construction="$1"
travail="$(mktemp -d)"
xvfb_pid=""; jeu_pid=""
nettoyer() {
  [ -n "$jeu_pid" ] && kill "$jeu_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$travail"
}
trap nettoyer EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }
sauter() { echo "IGNORÉ : $*"; exit 77; }

for outil in dpkg-deb dpkg-shlibdeps cpack; do
  command -v "$outil" >/dev/null || sauter "$outil absent (paquet dpkg-dev)"
done
if grep -q '^GLISSARO_SANITISEURS:BOOL=ON' "$construction/CMakeCache.txt"; then
  sauter "le paquet se construit depuis la construction ordinaire, pas celle des sanitiseurs"
fi

(cd "$travail" && cpack -G DEB --config "$construction/CPackConfig.cmake" -B "$travail/sortie" >"$travail/cpack.log" 2>&1) ||
  echec "cpack : $(tail -n 5 "$travail/cpack.log")"
paquet="$(ls "$travail"/sortie/glissaro_*_*.deb 2>/dev/null | head -n 1)"
[ -n "$paquet" ] || echec "pas de glissaro_VERSION_ARCH.deb"

# Its files.
dpkg-deb -c "$paquet" | awk '{ print $6 }' | sed 's|^\./|/|' >"$travail/fichiers"
for f in /usr/games/glissaro /usr/games/glissaro-outils \
  /usr/share/games/glissaro/skins/Glissaro/pieces.bmp /usr/share/games/glissaro/skins/Glissaro/pieces@2x.bmp \
  /usr/share/games/glissaro/skins/Ardoise/skin.ini /usr/share/games/glissaro/paquets/Pack01.pkg \
  /usr/share/games/glissaro/TemplatePage.txt /usr/share/games/glissaro/aide/index.html \
  /usr/share/applications/org.glissaro.Glissaro.desktop /usr/share/metainfo/org.glissaro.Glissaro.metainfo.xml \
  /usr/share/mime/packages/org.glissaro.Glissaro.xml \
  /usr/share/icons/hicolor/512x512/apps/org.glissaro.Glissaro.png /usr/share/icons/hicolor/scalable/apps/org.glissaro.Glissaro.svg \
  /usr/share/icons/hicolor/48x48/mimetypes/application-x-glissaro-plateau.png \
  /usr/share/man/man6/glissaro.6.gz /usr/share/man/man6/glissaro-outils.6.gz \
  /usr/share/doc/glissaro/copyright /usr/share/doc/glissaro/changelog.gz; do
  grep -qxF "$f" "$travail/fichiers" || echec "le paquet n'a pas $f"
done
champ() { dpkg-deb -f "$paquet" "$1"; }
grep -q 'qt6-translations-l10n' <<<"$(champ Depends)" || echec "dépendance qt6-translations-l10n absente"
grep -q 'libqt6widgets6' <<<"$(champ Depends)" || echec "dépendances des bibliothèques non calculées"
grep -q 'qt6-wayland' <<<"$(champ Recommends)" || echec "qt6-wayland non recommandé"

racine="$travail/racine"
dpkg-deb -x "$paquet" "$racine"
if command -v file >/dev/null; then
  file "$racine/usr/games/glissaro" | grep -q 'stripped' && ! file "$racine/usr/games/glissaro" | grep -q 'not stripped' ||
    echec "programme non dépouillé de ses symboles"
fi
if command -v lintian >/dev/null; then
  lintian --fail-on error "$paquet" >"$travail/lintian" 2>&1 || echec "lintian : $(grep '^E:' "$travail/lintian" | head -n 5)"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$racine/usr/share/applications/org.glissaro.Glissaro.desktop" || echec "entrée de bureau invalide"
fi
metainfo="$racine/usr/share/metainfo/org.glissaro.Glissaro.metainfo.xml"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >"$travail/appstream" 2>&1 || echec "AppStream : $(cat "$travail/appstream")"
  ! grep -q '^W:' "$travail/appstream" || echec "avertissements AppStream : $(grep '^W:' "$travail/appstream")"
fi
# What the software centres need, which the validator does not require
# offline: a content rating, dated releases, a screenshot that is shipped.
grep -q '<content_rating type="oars-1.1"' "$metainfo" || echec "pas de classement OARS"
grep -Eq '<release version="[^"]+" date="[0-9]{4}-[0-9]{2}-[0-9]{2}"' "$metainfo" || echec "pas de version datée"
capture="$(sed -n 's|.*<image[^>]*>\(https://[^<]*\)</image>.*|\1|p' "$metainfo" | head -n 1)"
[ -n "$capture" ] || echec "pas de capture d'écran"
[ -f "$racine/usr/share/doc/glissaro/$(basename "$capture")" ] || echec "la capture $capture n'est pas livrée"

command -v Xvfb >/dev/null && command -v xdotool >/dev/null || sauter "Xvfb ou xdotool absent"
# -noreset: the server stays as it is when the game quits, so that the
# next start never meets it resetting.
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null & echo "pid $!"; wait)
read -r _ xvfb_pid <&3
read -r -t 20 numero <&3 || echec "Xvfb ne démarre pas"
export DISPLAY=":$numero"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_DATA_HOME XDG_SESSION_TYPE QT_SCALE_FACTOR
export HOME="$travail/maison"
mkdir -p "$HOME"
joueur="$HOME/.local/share/glissaro"
livre="$racine/usr/share/games/glissaro"

demarrer() {
  "$racine/usr/games/glissaro" >"$travail/journal" 2>&1 &
  jeu_pid=$!
  fenetre=""
  for _ in $(seq 1 100); do
    fenetre=$(xdotool search --onlyvisible --name '^Glissaro$' 2>/dev/null | head -n 1 || true)
    [ -n "$fenetre" ] && return 0
    kill -0 "$jeu_pid" 2>/dev/null || echec "le jeu s'est arrêté : $(cat "$travail/journal")"
    sleep 0.1
  done
  echec "aucune fenêtre Glissaro"
}
arreter() {
  kill "$jeu_pid" 2>/dev/null || true
  wait "$jeu_pid" 2>/dev/null || true
  jeu_pid=""
}

demarrer
[ "$(cd "$joueur/plateaux" && find . -name '*.wbp' | sort)" = "$(cd "$livre/plateaux" && find . -name '*.wbp' | sort)" ] ||
  echec "le dossier du joueur n'a pas tous les plateaux livrés"
[ -d "$joueur/sequences" ] || echec "dossier sequences absent"
infos=$(xwininfo -id "$fenetre")
[ "$(sed -n 's/^ *Width: //p' <<<"$infos")x$(sed -n 's/^ *Height: //p' <<<"$infos")" = 364x139 ] || echec "panneau de la mauvaise taille"
# "QUITTER" (340, 23, 14 × 16), then the confirmation's default button.
xdotool mousemove --window "$fenetre" 347 31 click 1
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^Confirmation$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool key Return
for _ in $(seq 1 50); do
  kill -0 "$jeu_pid" 2>/dev/null || break
  sleep 0.1
done
wait "$jeu_pid" || echec "le jeu ne s'est pas fermé proprement"
jeu_pid=""
[ -f "$joueur/Glissaro.ini" ] || echec "Glissaro.ini absent du dossier du joueur"
[ -z "$(find "$racine" -name Glissaro.ini -o -name Records.ini)" ] || echec "un fichier du joueur parmi les données livrées"

# The player changes a shipped board; a new version changes it too.
plateau="$(cd "$livre" && find plateaux -name '*.wbp' | sort | head -n 1)"
printf 'à moi\r\n' >>"$joueur/$plateau"
mien="$(sha256sum "$joueur/$plateau")"
printf 'nouvelle version\r\n' >>"$livre/$plateau"
demarrer
arreter
[ "$(sha256sum "$joueur/$plateau")" = "$mien" ] || echec "le plateau changé par le joueur n'est pas gardé"
nouveau="$joueur/${plateau%.wbp} (nouveau).wbp"
[ -f "$nouveau" ] || echec "la nouvelle version n'est pas posée à côté"
cmp -s <(sed 2d "$nouveau") <(sed 2d "$livre/$plateau") || echec "la nouvelle version n'est pas celle qui est livrée"
sed -n 2p "$nouveau" | iconv -f WINDOWS-1252 -t UTF-8 | grep -q ' (nouveau)' || echec "titre de la nouvelle version"
echo "Paquet $(basename "$paquet") : fichiers, lintian, entrée de bureau et métadonnées ; dossier du joueur fait puis mis à jour."
