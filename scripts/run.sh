#!/usr/bin/env bash
# Sets up, builds and starts the 64-bit vitrelle.exe under 64-bit Wine on
# your display. The Wine prefix is made on first use in
# ~/.local/share/vitrelle/wine64. With no display set, the program runs on a
# virtual one (Xvfb), where nobody can see it: this is said when it happens.
# A step that fails says which, with its exit code and where to read more.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
run_step setup scripts/setup.sh
run_step build-windows scripts/build.sh mingw64
. scripts/wine_env.sh

WINEPREFIX="${XDG_DATA_HOME:-$HOME/.local/share}/vitrelle/wine64"
export WINEPREFIX
trap stop_xvfb EXIT

if [ -z "${DISPLAY:-}" ]; then
  if [ ! -x /usr/bin/Xvfb ]; then
    echo "run.sh: no display is set (DISPLAY) and there is no Xvfb to make a virtual one: install the package xvfb, or run this on a desktop" >&2
    exit 1
  fi
  start_xvfb
  echo "No display is set: Vitrelle runs on the virtual display $DISPLAY (Xvfb), which nobody sees. Ctrl+C ends it."
fi
[ -f "$WINEPREFIX/system.reg" ] || echo "Making the Wine prefix $WINEPREFIX (first start only)"
make_wine_prefix

cd build/mingw64
status=0
"$WINE" vitrelle.exe || status=$?
if [ "$status" -ne 0 ]; then
  echo "run.sh: vitrelle.exe under Wine ($WINE) ended with exit code $status" >&2
  exit "$status"
fi
