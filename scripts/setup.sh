# Shared by scripts/run and scripts/test: installs the Debian packages that are missing, then
# configures and builds the project into build/ (or $YALMERA_BUILD_DIR).
set -euo pipefail

YALMERA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
YALMERA_BUILD_DIR="${YALMERA_BUILD_DIR:-$YALMERA_ROOT/build}"

yalmera_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libzip-dev
  qt6-translations-l10n qt6-l10n-tools
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  fonts-dejavu-core
  desktop-file-utils appstream groff-base mandoc librsvg2-bin
)

yalmera_install_missing() {
  local missing=()
  for p in "${yalmera_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# yalmera_build [TARGET...]: configures with $YALMERA_CMAKE_ARGS (e.g. "-DYALMERA_SANITIZE=ON")
# and builds the targets given, or everything.
yalmera_build() {
  local generator=() targets=()
  [ -f "$YALMERA_BUILD_DIR/CMakeCache.txt" ] || generator=(-G Ninja)
  [ $# -eq 0 ] || targets=(--target "$@")
  # shellcheck disable=SC2086
  cmake -S "$YALMERA_ROOT" -B "$YALMERA_BUILD_DIR" "${generator[@]}" ${YALMERA_CMAKE_ARGS:-}
  cmake --build "$YALMERA_BUILD_DIR" --parallel "$(nproc 2>/dev/null || echo 2)" "${targets[@]}"
}
