#!/usr/bin/env bash
# Runs the unit tests of a Windows build (vitrelle_tests.exe of mingw64, or
# of mingw32 as 32-bit code) under Wine; for the 64-bit build it then checks
# that vitrelle-cli.exe under Wine and the native vitrelle-cli make
# byte-identical files from the same arguments. Needs the native build and
# the Windows one; uses a fresh Wine prefix under build/, removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-mingw64}"
native="$PWD/build/native"
mingw="$PWD/build/$preset"
. scripts/wine_env.sh

use_scratch_wine unit-wine
make_wine_prefix

echo "== unit tests of the $preset build under Wine"
(cd "$mingw" && timeout 600 "$WINE" ./vitrelle_tests.exe --gtest_brief=1)
[ "$preset" = mingw64 ] || exit 0

echo "== vitrelle-cli.exe under Wine against the native vitrelle-cli"
config="$PWD/resources/vitrelle.cfg"
cp "$config" "$work/vitrelle.cfg"
# Full-colour and palette inputs for convert, made by ImageMagick.
/usr/bin/convert -size 97x61 gradient:red-blue -depth 8 "BMP3:$work/full.bmp"
/usr/bin/convert -size 45x33 gradient:green-yellow -colors 40 -type Palette "BMP3:$work/palette.bmp"

runs=(
  "make --config vitrelle.cfg --time 1000 OUT.bmp"
  "make --config vitrelle.cfg --time 1000 OUT.gif"
  "make --config vitrelle.cfg --time 7 --pattern Lagoon --size 200x150 --mirror kaleidoscope OUT.gif"
  "make --config vitrelle.cfg --time 123456 --pattern 3 --colors 2 --size 161x97 --mirror cross OUT.bmp"
  "make --config vitrelle.cfg --time 99 --pattern Glacier --size 64x300 --mirror vertical OUT.gif"
  "convert full.bmp OUT.gif"
  "convert full.bmp OUT.bmp"
  "convert palette.bmp OUT.gif"
  "convert --interlace --transparent 3 --comment checked palette.bmp OUT.gif"
  "make --config vitrelle.cfg --time 55 --pattern 2 --size 161x97 OUT.png"
  "convert full.bmp OUT.png"
  "convert --transparent 3 palette.bmp OUT.png"
)
failed=0
for i in "${!runs[@]}"; do
  arguments="${runs[$i]}"
  extension="${arguments##*.}"
  ours="native$i.$extension" theirs="wine$i.$extension"
  (cd "$work" && "$native/vitrelle-cli" ${arguments/OUT.$extension/$ours} >/dev/null)
  (cd "$work" && "$WINE" "$mingw/vitrelle-cli.exe" ${arguments/OUT.$extension/$theirs} >/dev/null)
  if cmp -s "$work/$ours" "$work/$theirs"; then
    echo "cli: $arguments: identical"
  else
    echo "cli: $arguments: DIFFERENT"
    failed=$((failed + 1))
  fi
done
[ "$failed" -eq 0 ]
