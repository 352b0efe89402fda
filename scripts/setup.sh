#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Vitrelle
# needs. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 fonts-wine xvfb xauth x11-utils
  clang libclang-rt-dev
  imagemagick python3 python3-pil libgif-dev giflib-tools
  zlib1g-dev libpng-dev libz-mingw-w64-dev
  nsis zip unzip
  xwallpaper libglib2.0-bin dconf-gsettings-backend gsettings-desktop-schemas dbus
  xfconf libxfconf-0-3 desktop-file-utils
)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_if_needed dpkg --add-architecture i386
  need_update=1
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "Installing: ${missing[*]}"
  sudo_if_needed apt-get update -q
  if [ "${#missing[@]}" -gt 0 ]; then
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
fi
