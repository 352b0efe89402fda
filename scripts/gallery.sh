#!/usr/bin/env bash
# Takes the README's gallery of screenshots of the real program under Wine,
# in a fresh prefix on a virtual display, and writes them as PNG files into
# docs/images/gallery-NAME.png; the NAMEs given, or all of them:
#   main-window     the main window with a picture and the full Pattern panel
#   main-window-150 the same at 150 % (Wine's DPI setting raised)
#   gif-options     the GIF options dialog over the main window
#   tiled-desktop   a Wine desktop with the picture as tiled wallpaper
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh mingw >/dev/null
build="$PWD/build/mingw"
images="$PWD/docs/images"
. scripts/wine_env.sh
export LC_ALL=C.UTF-8

use_scratch_wine gallery

start_xvfb
make_wine_prefix

# A copy of the program that Make may change, showing its full panel.
program="$work/program"
mkdir -p "$program"
for file in vitrelle.exe vitrelle.cfg vitrelle-wic.spi vitrelle-decode.exe; do
  cp "$build/$file" "$program/"
done
wine reg add 'HKCU\Software\Tavik\vitrelle' /v Setdialog /d 1 /f >/dev/null 2>&1
export VITRELLE_CHECK_FOLDER="$(winepath -w "$program")"

cd "$work"
shots=("$@")
[ "${#shots[@]}" -gt 0 ] || shots=(main-window main-window-150 gif-options tiled-desktop)
missing=0
for shot in "${shots[@]}"; do
  if [ "$shot" = tiled-desktop ]; then
    # Inside a Wine desktop window of its own, whose wallpaper Tile sets.
    wine explorer /desktop=Gallery,800x600 "$build/vitrelle-gallery.exe" "$shot" || true
    wineserver -w
  elif [ "$shot" = main-window-150 ]; then
    # The main window at 150 %: Wine's DPI setting raised for this shot.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wine "$build/vitrelle-gallery.exe" main-window || true
    [ -f main-window.bmp ] && mv main-window.bmp "$shot.bmp"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
  else
    wine "$build/vitrelle-gallery.exe" "$shot" || true
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
