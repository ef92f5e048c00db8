#!/usr/bin/env bash
# Installs every Debian package the build, the viewer and the tests need;
# with --fuzz also clang and libFuzzer for scripts/fuzz.sh.
# Idempotent: packages already present are skipped, apt is not touched when
# nothing is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  freeglut3-dev libglew-dev libdevil-dev libpng-dev
  libimgui-dev libstb-dev libfontconfig-dev fonts-liberation2
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  xvfb xauth xdotool
  libnetcdf-dev
  libgtest-dev libbenchmark-dev
)
if [ "${1:-}" = "--fuzz" ]; then
  packages=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "All dependencies are installed."
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
