#!/usr/bin/env bash
# Sets up, builds the Windows program and packs it into build/packages/:
#   vitrelle-VERSION-win64.zip   the portable 64-bit program and its licence, in a
#                                folder of its own
#   vitrelle-VERSION-setup.exe   the per-user 64-bit installer (NSIS)
# each with its SHA-256 sum beside it (FILE.sha256). The same sources give the
# same bytes: every file time is SOURCE_DATE_EPOCH (default: the time of the
# last commit).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh mingw64

version="$(sed -n 's/^#define VITRELLE_VERSION_TEXT "\(.*\)"$/\1/p' resources/version.h)"
[ -n "$version" ] || { echo "package: no version in resources/version.h" >&2; exit 1; }
copyright="$(sed -n 's/^#define VITRELLE_COPYRIGHT_TEXT "\(.*\)"$/\1/p' resources/version.h)"
[ -n "$copyright" ] || { echo "package: no copyright in resources/version.h" >&2; exit 1; }
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}"
export TZ=UTC LC_ALL=C

build="$PWD/build/mingw64"
packages="$PWD/build/packages"
name="vitrelle-$version"
# What ships, besides the Pattern file: the program, its manual, the shipped
# plug-in with the helper processes that run 64-bit and 32-bit plug-ins, the
# tool with its windowless build for the sign-in, and the licence.
built_files=(vitrelle.exe vitrelle.html vitrelle-wic.spi vitrelle-decode.exe vitrelle-decode32.exe vitrelle-cli.exe
  vitrelle-wallpaper.exe)
program_files=("${built_files[@]}" LICENSE.txt)

rm -rf "$packages"
stage="$packages/stage/$name"
mkdir -p "$stage"
for file in "${built_files[@]}" vitrelle.cfg; do
  cp "$build/$file" "$stage/$file"
done
# The licence with Windows line ends, as Notepad and the installer's page read it.
sed 's/\r*$/\r/' LICENSE >"$stage/LICENSE.txt"
chmod 0644 "$stage"/*
touch --no-dereference --date="@$SOURCE_DATE_EPOCH" "$stage" "$stage"/*

# The portable zip: sorted names, no extra fields (-X), no folder entries.
zip="$packages/$name-win64.zip"
(cd "$packages/stage" && find "$name" -type f | sort | zip -q -X -9 "$zip" -@)

# The installer. The lists of files it installs and removes are written here,
# so that the uninstaller removes exactly what the installer put there.
files_nsh="$packages/stage/files.nsh"
removals_nsh="$packages/stage/removals.nsh"
: >"$files_nsh"
: >"$removals_nsh"
for file in "${program_files[@]}"; do
  echo "File \"$stage/$file\"" >>"$files_nsh"
  echo "Delete \"\$INSTDIR\\$file\"" >>"$removals_nsh"
done
setup="$packages/$name-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 \
  -DVERSION="$version" -DCOPYRIGHT="$copyright" -DSTAGE="$stage" -DFILES="$files_nsh" -DREMOVALS="$removals_nsh" \
  -DICON="$PWD/resources/vitrelle.ico" -DOUTFILE="$setup" scripts/vitrelle.nsi

for package in "$zip" "$setup"; do
  (cd "$packages" && sha256sum "$(basename "$package")" >"$(basename "$package").sha256")
  echo "package: $(basename "$package") $(stat -c %s "$package") bytes"
done
