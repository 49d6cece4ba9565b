#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the project needs to build, run and test.
# Idempotent and non-interactive; needs root (or sudo).
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config clang clang-format
  qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev qt5-image-formats-plugins
  libhidapi-dev libudev-dev
  libumockdev-dev umockdev libglib2.0-dev
  libx11-dev libxi-dev
  gsettings-desktop-schemas libglib2.0-bin dconf-service dconf-gsettings-backend
  xvfb xauth xdotool xinput x11-utils imagemagick trayer x11-session-utils x11-xserver-utils
  weston qtwayland5
  at-spi2-core python3-pyatspi dbus
  desktop-file-utils appstream
  fonts-dejavu-core fonts-wqy-microhei
  clang libclang-rt-14-dev llvm
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
