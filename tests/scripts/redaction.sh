#!/usr/bin/env bash
# The documentation and the comments describe this program's own files and
# behaviour, never by reference to an older program or its platform.
#   redaction.sh SOURCES
set -euo pipefail
cd "$1"
motif='original (windows )?(program|platform|version)|as on the original|older program|previous program'
fichiers=(README.md scripts/run scripts/test scripts/install scripts/fuzz scripts/commun.sh data/TemplatePage.txt)
while IFS= read -r -d '' f; do fichiers+=("$f"); done < <(
  find core skin packs ui tools tests bench -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.sh' \) \
    -not -path tests/scripts/redaction.sh -print0)
if trouve="$(grep -niE "$motif" -- "${fichiers[@]}")"; then
  echo "ÉCHEC : texte qui renvoie à un autre programme :" >&2
  echo "$trouve" >&2
  exit 1
fi
echo "Documentation et commentaires décrivent le programme lui-même (${#fichiers[@]} fichiers)."
