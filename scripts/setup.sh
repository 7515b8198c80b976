#!/usr/bin/env bash
# Installs every Debian package Signovat needs to build, test and run.
# Idempotent; works as root or through sudo.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6serialport6
  qt6-qpa-plugins qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool socat poppler-utils
  fonts-dejavu-core fonts-liberation
  clang libclang-rt-14-dev
  python3
  dpkg-dev desktop-file-utils appstream man-db groff-base
  cups printer-driver-cups-pdf libcups2-dev qt6-svg-dev libqt6svg6
)

if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
else
  SUDO="sudo"
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installiere: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
