#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Vitrelle
# needs. Safe to run again: it installs only what is missing.
#
# A package mirror that is being synced makes `apt-get update` fail for one
# index now and then: that is a warning, and set-up goes on with the lists
# it has. An install that fails is tried once more, with a new update, after
# a pause (VITRELLE_APT_RETRY_SECONDS, 60 by default); if it fails again,
# set-up stops and names the packages. 32-bit Wine (wine32:i386, with the
# i386 architecture) is installed only where the machine runs 32-bit code,
# and only the 32-bit checks need it: where it cannot be installed (at one
# try), set-up says so and goes on. Within one run of the test command
# (VITRELLE_SETUP_DONE=1) it does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${VITRELLE_SETUP_DONE:-}" = 1 ] && exit 0
. scripts/common.sh

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine64 fonts-wine xvfb xauth x11-utils
  clang libclang-rt-dev
  imagemagick python3 python3-pil libgif-dev giflib-tools
  zlib1g-dev libpng-dev libz-mingw-w64-dev
  nsis zip unzip
  xwallpaper libglib2.0-bin dconf-gsettings-backend gsettings-desktop-schemas dbus
  xfconf libxfconf-0-3 desktop-file-utils
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
)
wine32_package=wine32:i386

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing_of() { # missing_of PACKAGE... : prints those not installed
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
  done
}

# Reads the package lists. A failure is a warning that names the indexes
# that could not be read.
update_lists() {
  local output status=0
  output="$(sudo_if_needed apt-get update -q 2>&1)" || status=$?
  printf '%s\n' "$output" | grep -vE '^(Hit|Get|Ign|Reading)' || true
  if [ "$status" -ne 0 ] || grep -q '^Err:' <<<"$output"; then
    echo "setup: warning: apt-get update could not read every package list (going on with the lists there are):" >&2
    grep -E '^Err:|^E: Failed to fetch' <<<"$output" | sed 's/^/setup:   /' >&2 || true
  fi
}

install_now() { sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$@"; }

# Installs the packages, trying once more after a pause and a new update.
install_with_retry() {
  install_now "$@" && return 0
  echo "setup: installing failed; trying again in ${VITRELLE_APT_RETRY_SECONDS:-60} seconds" >&2
  sleep "${VITRELLE_APT_RETRY_SECONDS:-60}"
  update_lists
  install_now "$@"
}

mapfile -t missing < <(missing_of "${packages[@]}")
want_wine32=""
if runs_32bit_code; then
  want_wine32="$(missing_of "$wine32_package")"
  if [ -n "$want_wine32" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_if_needed dpkg --add-architecture i386
  fi
fi

if [ "${#missing[@]}" -gt 0 ] || [ -n "$want_wine32" ]; then
  echo "Installing: ${missing[*]} $want_wine32"
  update_lists
fi
if [ "${#missing[@]}" -gt 0 ] && ! install_with_retry "${missing[@]}"; then
  mapfile -t still < <(missing_of "${missing[@]}")
  echo "setup: FAILED: these packages could not be installed: ${still[*]:-${missing[*]}}" >&2
  exit 1
fi
if [ -n "$want_wine32" ] && ! install_now "$want_wine32"; then
  echo "setup: warning: $want_wine32 could not be installed, so the 32-bit checks are left out" >&2
fi
exit 0
