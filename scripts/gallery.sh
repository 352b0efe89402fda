#!/usr/bin/env bash
# Takes the README's gallery of screenshots of the real program under Wine,
# in a fresh prefix on a virtual display, and writes them as PNG files into
# docs/images/gallery-NAME.png; the NAMEs given, or all of them:
#   main-window     the main window with a picture and the full Pattern panel
#   main-window-150 the same at 150 % (Wine's DPI setting raised)
#   screen-make     a Make of the screen's size (1920 x 1080), the view scrolled
#   gif-options     the GIF options dialog over the main window
#   tiled-desktop   a Wine desktop with the picture as tiled wallpaper
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh mingw64 >/dev/null
build="$PWD/build/mingw64"
images="$PWD/docs/images"
. scripts/wine_env.sh
export LC_ALL=C.UTF-8

use_scratch_wine gallery

# Room for the largest Wine desktop below (1920 x 1080).
start_xvfb 1920x1200
make_wine_prefix

# A copy of the program that Make may change, showing its full panel.
program="$work/program"
mkdir -p "$program"
for file in vitrelle.exe vitrelle.cfg vitrelle-wic.spi vitrelle-decode.exe; do
  cp "$build/$file" "$program/"
done
"$WINE" reg add 'HKCU\Software\Tavik\vitrelle' /v Setdialog /d 1 /f >/dev/null 2>&1
export VITRELLE_CHECK_FOLDER="$("$WINE" winepath -w "$program")"

cd "$work"
shots=("$@")
[ "${#shots[@]}" -gt 0 ] || shots=(main-window main-window-150 screen-make gif-options tiled-desktop)
missing=0
# Each shot runs inside a Wine desktop window of its own: there Wine draws
# the windows' frames and title bars (Xvfb has no window manager to draw
# them), and Tile sets that desktop's wallpaper.
take_shot() { # take_shot NAME SIZE
  "$WINE" explorer "/desktop=Gallery,$2" "$build/vitrelle-gallery.exe" "$1" || true
  "$WINESERVER" -w
}
for shot in "${shots[@]}"; do
  if [ "$shot" = main-window-150 ]; then
    # The main window at 150 %: Wine's DPI setting raised for this shot.
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
    "$WINESERVER" -k 2>/dev/null || true
    take_shot main-window 1280x1024
    [ -f main-window.bmp ] && mv main-window.bmp "$shot.bmp"
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    "$WINESERVER" -k 2>/dev/null || true
  elif [ "$shot" = tiled-desktop ]; then
    take_shot "$shot" 800x600
  elif [ "$shot" = screen-make ]; then
    take_shot "$shot" 1920x1080
  else
    take_shot "$shot" 1280x1024
  fi
  if [ -f "$shot.bmp" ]; then
    /usr/bin/convert "$shot.bmp" -strip -define png:exclude-chunks=date,time "$images/gallery-$shot.png"
    echo "gallery: docs/images/gallery-$shot.png"
  else
    echo "gallery: no $shot screenshot" >&2
    missing=$((missing + 1))
  fi
done
[ "$missing" -eq 0 ]
