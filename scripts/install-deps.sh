#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks for building and testing Vespar.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          libx11-dev libx11-xcb-dev libxi-dev libxcb1-dev libsystemd-dev
          xvfb xauth xdotool x11-utils trayer dbus-daemon python3-dbusmock systemd fonts-dejavu-core
          imagemagick clang libclang-rt-dev
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools wine wine64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
