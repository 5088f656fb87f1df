#!/usr/bin/env bash
# scripts/run asks for the game's packages and none of the tests'; scripts/
# test asks for both. The scripts run from a copy, with stand-ins for the
# package tools, cmake, ctest and the game. Then the project is configured
# without GoogleTest and Google Benchmark: the game is still there.
#   paquets.sh SOURCES
set -euo pipefail
sources="$1"
travail="$(mktemp -d)"
trap 'rm -rf "$travail"' EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }

copie="$travail/copie"
mkdir -p "$copie/scripts" "$copie/build/programme" "$copie/build-sanitiseurs" "$travail/bin"
cp "$sources/scripts/run" "$sources/scripts/test" "$sources/scripts/commun.sh" "$copie/scripts/"
journal="$travail/journal"
outil() { printf '#!/bin/sh\n%s\n' "$2" >"$1"; chmod +x "$1"; }
outil "$travail/bin/dpkg-query" 'exit 1'                        # nothing installed
outil "$travail/bin/apt-get" "echo \"apt-get \$*\" >>'$journal'"
outil "$travail/bin/id" 'echo 0'
outil "$travail/bin/cmake" 'exit 0'
outil "$travail/bin/ctest" 'exit 0'
outil "$copie/build/programme/glissaro" "echo jeu >>'$journal'"

demandes() { grep '^apt-get .*install' "$journal" | tail -n 1; }
PATH="$travail/bin:$PATH" bash "$copie/scripts/run" >/dev/null
grep -qx jeu "$journal" || echec "scripts/run ne lance pas le jeu"
jeu="$(demandes)"
for p in qt6-base-dev qt6-translations-l10n libjpeg62-turbo-dev; do
  grep -qw -- "$p" <<<"$jeu" || echec "scripts/run n'installe pas $p"
done
for p in libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool weston lintian desktop-file-utils; do
  ! grep -qw -- "$p" <<<"$jeu" || echec "scripts/run installe $p, qui ne sert qu'aux tests"
done
PATH="$travail/bin:$PATH" bash "$copie/scripts/test" >/dev/null
tests="$(demandes)"
for p in qt6-translations-l10n libgtest-dev libbenchmark-dev xvfb xdotool weston xwayland qt6-wayland dpkg-dev lintian; do
  grep -qw -- "$p" <<<"$tests" || echec "scripts/test n'installe pas $p"
done

cmake -S "$sources" -B "$travail/construction" -G Ninja \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null ||
  echec "le projet ne se configure pas sans GoogleTest ni Google Benchmark"
cibles="$(cmake --build "$travail/construction" --target help)"
grep -q '^glissaro:' <<<"$cibles" && grep -q '^glissaro-outils:' <<<"$cibles" || echec "le jeu manque"
! grep -q '^tests_ui:' <<<"$cibles" || echec "des tests sans GoogleTest"
echo "scripts/run installe le jeu seul ; scripts/test y ajoute les tests."
