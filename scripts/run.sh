#!/usr/bin/env bash
# Sets up, builds and starts vitrelle.exe under 32-bit Wine on your display.
# The Wine prefix is made on first use in ~/.local/share/vitrelle/wine. With
# no display set, the program runs on a virtual one (Xvfb), where nobody can
# see it: this is said when it happens.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh mingw
. scripts/wine_env.sh

WINEPREFIX="${XDG_DATA_HOME:-$HOME/.local/share}/vitrelle/wine"
export WINEPREFIX
trap stop_xvfb EXIT

if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  echo "No display is set: Vitrelle runs on the virtual display $DISPLAY (Xvfb), which nobody sees. Ctrl+C ends it."
fi
[ -f "$WINEPREFIX/system.reg" ] || echo "Making the Wine prefix $WINEPREFIX (first start only)"
make_wine_prefix

cd build/mingw
wine vitrelle.exe
