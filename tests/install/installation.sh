#!/usr/bin/env bash
# Installs into a temporary data folder, checks the layout, the launcher and
# the desktop entry, installs again over a changed shipped board, a new
# board of the player's, a board shipped before in another version and
# boards no more shipped, then uninstalls.
#   installation.sh SOURCES CONSTRUCTION
set -euo pipefail
sources="$1"
export GLISSARO_CONSTRUCTION="$2"
travail="$(mktemp -d)"
trap 'rm -rf "$travail"' EXIT
export HOME="$travail/maison" XDG_DATA_HOME="$travail/donnees"
mkdir -p "$HOME"
prog="$XDG_DATA_HOME/glissaro"
echec() { echo "ÉCHEC : $*" >&2; exit 1; }

bash "$sources/scripts/install" >/dev/null
[ -x "$prog/glissaro" ] || echec "programme absent"
[ -x "$prog/glissaro-outils" ] || echec "glissaro-outils absent"
[ -f "$prog/skins/Glissaro/pieces.bmp" ] || echec "skin par défaut absente"
[ -f "$prog/aide/index.html" ] && [ -f "$prog/TemplatePage.txt" ] || echec "aide ou modèle absent"
[ -d "$prog/sequences" ] || echec "dossier sequences absent"
[ -x "$HOME/.local/bin/glissaro" ] || echec "lanceur absent"
grep -q "$prog/glissaro" "$HOME/.local/bin/glissaro" || echec "le lanceur ne lance pas le programme"
entree="$XDG_DATA_HOME/applications/org.glissaro.Glissaro.desktop"
desktop-file-validate "$entree" || echec "entrée de bureau invalide"
grep -q '^Categories=Game;BoardGame;' "$entree" || echec "catégories"
grep -q "^Exec=$HOME/.local/bin/glissaro %f$" "$entree" || echec "l'entrée ne passe pas le fichier"
grep -q '^MimeType=application/x-glissaro-plateau;application/x-glissaro-sequence;application/x-glissaro-paquet;$' "$entree" ||
  echec "types de fichiers de l'entrée"
for t in 16x16 32x32 48x48 64x64 128x128 256x256 512x512 scalable; do
  e=png; [ "$t" = scalable ] && e=svg
  [ -f "$XDG_DATA_HOME/icons/hicolor/$t/apps/org.glissaro.Glissaro.$e" ] || echec "icône $t"
  [ -f "$XDG_DATA_HOME/icons/hicolor/$t/mimetypes/application-x-glissaro-paquet.$e" ] || echec "icône de type $t"
done
# The file types are known to the desktop's database, the metadata valid.
for motif in 'application/x-glissaro-plateau:\*\.wbp' 'application/x-glissaro-sequence:\*\.swb' 'application/x-glissaro-paquet:\*\.pkg'; do
  grep -q ":$motif\$" "$XDG_DATA_HOME/mime/globs2" || echec "type absent de la base : $motif"
done
metainfo="$XDG_DATA_HOME/metainfo/org.glissaro.Glissaro.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null || echec "métadonnées AppStream invalides"

# A shipped board whose title has an accent (a byte beyond ASCII), and another.
livre="$(cd "$prog" && find plateaux -name '*.wbp' | sort | while IFS= read -r f; do
  if sed -n 2p "$f" | LC_ALL=C grep -q $'[\x80-\xff]'; then echo "$f"; break; fi
done)"
[ -n "$livre" ] || echec "aucun plateau livré au titre accentué"
autre="$(cd "$prog" && find plateaux -name '*.wbp' | sort | grep -vxF "$livre" | head -n 1)"
# The player changes a shipped board, makes a board of their own, plays.
printf 'modifié\r\n' >>"$prog/$livre"
modifie="$(sha256sum "$prog/$livre" | cut -d' ' -f1)"
mkdir -p "$prog/plateaux/Les miens"
printf 'V1.00\r\nMien\r\n' >"$prog/plateaux/Les miens/Mien.wbp"
printf '[skin]\r\nNom=Ardoise\r\n' >"$prog/Glissaro.ini"
printf '[0123456789ABCDEF]\r\nMeilleur=12\r\nResolu=1\r\n' >"$prog/Records.ini"
printf 'x' >"$prog/sequences/partie.swb"
# Two files that an older version shipped and this one no longer does (a
# board since renamed): the one the player left alone goes, the one they
# changed stays.
mkdir -p "$prog/plateaux/Vieux dossier"
for ancien in Ancien Ancien2; do
  printf 'V1.00\r\n%s\r\n' "$ancien" >"$prog/plateaux/Vieux dossier/$ancien.wbp"
  echo "$(sha256sum "$prog/plateaux/Vieux dossier/$ancien.wbp" | cut -d' ' -f1)  plateaux/Vieux dossier/$ancien.wbp" >>"$prog/.livres"
done
printf 'modifié\r\n' >>"$prog/plateaux/Vieux dossier/Ancien2.wbp"
# A shipped board that the older version shipped otherwise, untouched by
# the player: updated in place, with no "(nouveau)" beside it.
printf 'ancienne version\r\n' >>"$prog/$autre"
awk -v f="$autre" -v s="$(sha256sum "$prog/$autre" | cut -d' ' -f1)" \
  '{ chemin = $0; sub(/^[^ ]+  /, "", chemin); if (chemin == f) print s "  " chemin; else print }' \
  "$prog/.livres" >"$prog/.livres.tmp" && mv "$prog/.livres.tmp" "$prog/.livres"
rm "$prog/glissaro"   # a damaged program is put back

bash "$sources/scripts/install" >/dev/null
[ -x "$prog/glissaro" ] || echec "programme non remplacé"
[ "$(sha256sum "$prog/$livre" | cut -d' ' -f1)" = "$modifie" ] || echec "plateau modifié écrasé"
nouveau="$prog/${livre%.wbp} (nouveau).wbp"
[ -f "$nouveau" ] || echec "nouvelle version du plateau absente"
# Its title is its file name without the rank, read back by the program's
# own reader.
verdict="$("$prog/glissaro-outils" verifier "$nouveau")" || echec "la nouvelle version ne se charge pas"
grep -qxF "titre $(basename "${livre%.wbp}" | sed 's/^[0-9][0-9] - //') (nouveau)" <<<"$verdict" ||
  echec "titre de la nouvelle version"
[ ! -e "$prog/plateaux/Vieux dossier/Ancien.wbp" ] || echec "plateau qui n'est plus livré encore là"
[ -f "$prog/plateaux/Vieux dossier/Ancien2.wbp" ] || echec "plateau plus livré mais modifié perdu"
cmp -s "$prog/$autre" "$sources/data/$autre" || echec "plateau livré non mis à jour"
[ ! -e "$prog/${autre%.wbp} (nouveau).wbp" ] || echec "nouvelle version d'un plateau que le joueur n'a pas changé"
[ -f "$prog/plateaux/Les miens/Mien.wbp" ] || echec "plateau du joueur perdu"
grep -q Ardoise "$prog/Glissaro.ini" || echec "réglages perdus"
grep -q Meilleur=12 "$prog/Records.ini" || echec "records perdus"
[ -f "$prog/sequences/partie.swb" ] || echec "séquence perdue"

bash "$sources/scripts/install" --desinstaller >/dev/null
[ ! -e "$prog/glissaro" ] || echec "programme encore là"
[ ! -e "$HOME/.local/bin/glissaro" ] && [ ! -e "$entree" ] || echec "lanceur ou entrée encore là"
[ ! -e "$XDG_DATA_HOME/icons/hicolor/48x48/apps/org.glissaro.Glissaro.png" ] || echec "icône encore là"
[ ! -e "$XDG_DATA_HOME/icons/hicolor/48x48/mimetypes/application-x-glissaro-plateau.png" ] || echec "icône de type encore là"
[ ! -e "$metainfo" ] && [ ! -e "$XDG_DATA_HOME/mime/packages/org.glissaro.Glissaro.xml" ] || echec "types ou métadonnées encore là"
! grep -q glissaro "$XDG_DATA_HOME/mime/globs2" 2>/dev/null || echec "types encore dans la base"
[ -f "$prog/$livre" ] && [ -f "$prog/plateaux/Les miens/Mien.wbp" ] || echec "plateaux du joueur perdus"
[ -f "$prog/Glissaro.ini" ] && [ -f "$prog/Records.ini" ] && [ -f "$prog/sequences/partie.swb" ] ||
  echec "réglages, records ou séquences perdus"
[ -z "$autre" ] || [ ! -e "$prog/$autre" ] || echec "plateau livré inchangé encore là"

bash "$sources/scripts/install" --desinstaller --tout >/dev/null
[ ! -e "$prog" ] || echec "dossier du programme encore là"
echo "Installation, mise à jour et désinstallation correctes."
