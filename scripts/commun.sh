# Shared by the scripts: the Debian packages the project needs, installed
# when missing, and the build.

# What the game needs to build and run (Qt's own French texts included).
PAQUETS_JEU=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  zlib1g-dev libjpeg62-turbo-dev
  fonts-dejavu-core
)
# What the tests add: GoogleTest, Google Benchmark, an X server and its
# tools for the smoke test, a Wayland compositor (headless), Xwayland and
# Qt's Wayland plugin for the smoke tests on Wayland, the checkers of the
# desktop entry and of the AppStream metadata, the file-type database the
# installer updates, and what builds and checks the Debian package.
PAQUETS_TESTS=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool
  weston xwayland qt6-wayland
  desktop-file-utils appstream shared-mime-info
  dpkg-dev fakeroot lintian file
)
# What installer_paquets installs; scripts/test adds PAQUETS_TESTS.
PAQUETS=("${PAQUETS_JEU[@]}")

racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

installer_paquets() {
  local manquants=()
  for p in "${PAQUETS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || manquants+=("$p")
  done
  [ ${#manquants[@]} -eq 0 ] && return 0
  echo "Installation des paquets manquants : ${manquants[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
      echo "Il manque des paquets (${manquants[*]}) et ni root ni sudo ne sont disponibles." >&2
      return 1
    fi
  fi
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${manquants[@]}"
}

# construire DOSSIER [-DOPTION=VALEUR...] [CIBLE...]: configures and builds
# (every target when none is named).
construire() {
  local dossier="$1"; shift
  local options=() cibles=()
  for c in "$@"; do
    case "$c" in -D*) options+=("$c") ;; *) cibles+=(--target "$c") ;; esac
  done
  cmake -S "$racine" -B "$dossier" -G Ninja "${options[@]}" >/dev/null &&
    cmake --build "$dossier" -j "$(nproc)" "${cibles[@]}"
}
