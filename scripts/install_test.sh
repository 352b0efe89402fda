#!/usr/bin/env bash
# Tests the packages that scripts/package.sh made, in a fresh 64-bit Wine
# prefix as an ordinary user (under build/, removed afterwards):
#  - packing again gives the same bytes, and the sums match;
#  - both packages hold the licence, LICENSE.txt;
#  - the installer runs silently (/S), installs into the per-user program
#    folder with a Start menu shortcut and an uninstall entry, and the
#    program starts from the shortcut's target in its working folder;
#  - the installed program and the installer carry the licence's copyright
#    line, and the installer run by hand shows the licence first;
#  - a second install keeps a changed vitrelle.cfg byte for byte;
#  - the uninstaller removes the program and its entry, and in silent mode
#    keeps a changed vitrelle.cfg (it asks when run by hand);
#  - an update over 1.10 (32-bit) keeps vitrelle.cfg, replaces every program
#    and the uninstaller with 64-bit ones and the uninstall entry with one
#    new one, keeps the sign-in entry working, and moves it with the folder;
#  - the zip's program runs from a folder whose name holds non-ASCII
#    characters, opens a PNG and a JPEG of such names there through its
#    shipped plug-in, F1 opens its manual, and at 150 % and 200 % its layout fits.
# Every line of its own output starts with "install:"; any failure fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
version="$(sed -n 's/^#define VITRELLE_VERSION_TEXT "\(.*\)"$/\1/p' resources/version.h)"
packages="$PWD/build/packages"
zip="$packages/vitrelle-$version-win64.zip"
setup="$packages/vitrelle-$version-setup.exe"
check="$PWD/build/mingw64/vitrelle-install-check.exe"
. scripts/wine_env.sh
# Wine turns the Unix file names into Windows ones through the locale.
export LC_ALL=C.UTF-8

use_scratch_wine install-test

failures=0
passes=0
pass() { echo "install: $1: ok"; passes=$((passes + 1)); }
fail() { echo "install: $1: FAILED"; failures=$((failures + 1)); }
expect() { # expect WHAT COMMAND...
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# Reproducible: packing the same build again gives the same bytes.
sums_match() { (cd "$packages" && cat ./*.sha256 | sha256sum --quiet -c -); }
expect "the sums match the packages" sums_match
cp "$zip" "$setup" "$work/"
scripts/package.sh >/dev/null
expect "packing again gives the same zip" cmp -s "$zip" "$work/$(basename "$zip")"
expect "packing again gives the same installer" cmp -s "$setup" "$work/$(basename "$setup")"

zip_holds_licence() { unzip -p "$zip" "vitrelle-$version/LICENSE.txt" | tr -d '\r' | cmp -s - LICENSE; }
expect "the zip holds the licence as LICENSE.txt" zip_holds_licence

[ -n "${DISPLAY:-}" ] || start_xvfb
make_wine_prefix

unix_path() {
  "$WINE" winepath -u "$("$WINE" cmd /c echo "$1" | tr -d '\r')" 2>/dev/null ||
    { echo "install: Wine could not name the folder $1" >&2; return 1; }
}
install_dir="$(unix_path '%LOCALAPPDATA%')/Programs/Vitrelle"
shortcut="$(unix_path '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/Vitrelle.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vitrelle'
program_files_present() {
  local file
  for file in vitrelle.exe vitrelle.html vitrelle-wic.spi vitrelle-decode.exe vitrelle-cli.exe LICENSE.txt vitrelle.cfg \
    uninstall.exe; do
    [ -f "$install_dir/$file" ] || { echo "install: missing $file" >&2; return 1; }
  done
}
run_silently() { "$WINE" "$1" /S "${@:2}" && "$WINESERVER" -w; }

run_silently "$setup"
expect "the installer puts the program into the per-user program folder" program_files_present
expect "the shipped Pattern file is installed unchanged" cmp -s "$install_dir/vitrelle.cfg" build/mingw64/vitrelle.cfg
expect "the Start menu has a shortcut" test -f "$shortcut"
uninstall_entry() { "$WINE" reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/.*REG_[A-Z_]* *//p"; }
expect "the uninstall entry names the version" test "$(uninstall_entry DisplayVersion)" = "$version"
expect "the uninstall entry names the uninstaller" \
  test "$(uninstall_entry UninstallString)" = "\"$("$WINE" winepath -w "$install_dir")\\uninstall.exe\""
expect "the shortcut's program starts in its working folder" "$WINE" "$check" installed-shortcut
expect "the installer installs the licence it shows on its first page" \
  env VITRELLE_CHECK_SETUP="$("$WINE" winepath -w "$setup")" "$WINE" "$check" installed-licence

# The user's Patterns survive an update: a second install keeps the changed file.
printf '3,Mine,0,0,1,2,3,2,1,9,1,20,60,1,\r\n' >>"$install_dir/vitrelle.cfg"
cp "$install_dir/vitrelle.cfg" "$work/changed.cfg"
run_silently "$setup"
expect "a second install keeps the changed Pattern file byte for byte" cmp -s "$install_dir/vitrelle.cfg" "$work/changed.cfg"
expect "a second install leaves the program in place" program_files_present

run_silently "$install_dir/uninstall.exe"
expect "the uninstaller removes the program" test ! -e "$install_dir/vitrelle.exe" -a ! -e "$install_dir/uninstall.exe"
expect "the uninstaller removes the shortcut" test ! -e "$shortcut"
expect "the uninstaller removes the uninstall entry" test -z "$(uninstall_entry DisplayName)"
expect "the silent uninstaller keeps the changed Pattern file" cmp -s "$install_dir/vitrelle.cfg" "$work/changed.cfg"

# Installed and removed again with the shipped Pattern file, whose first line
# (the settings of the last Make) alone has changed: nothing is left.
rm -f "$install_dir/vitrelle.cfg"
run_silently "$setup"
sed -i '1s/^[^\r]*/0,3,1,2,0,0,7,0,1,2,3,2,1,9,1,20,60,1,640,480,          /' "$install_dir/vitrelle.cfg"
run_silently "$install_dir/uninstall.exe"
expect "an installation changed only by Make is removed with its folder" test ! -e "$install_dir"

# An update over 1.10, the 32-bit version, as its installer left it: a
# 32-bit program in each of its files, its uninstall entry in the 32-bit
# registry view, a changed Pattern file and the sign-in entry of its tool.
pe_machine() { # the machine field of a PE file's header, as hex digits
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' '
}
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
mkdir -p "$install_dir"
for file in vitrelle.exe vitrelle.html vitrelle-wic.spi vitrelle-decode.exe vitrelle-cli.exe vitrelle-wallpaper.exe \
  LICENSE.txt uninstall.exe; do
  cp build/mingw64/vitrelle-decode32.exe "$install_dir/$file"
done
cp "$work/changed.cfg" "$install_dir/vitrelle.cfg"
windows_dir="$("$WINE" winepath -w "$install_dir")"
for entry in "DisplayName Vitrelle" "DisplayVersion 1.10" "InstallLocation $windows_dir" \
  "UninstallString \"$windows_dir\\uninstall.exe\""; do
  "$WINE" reg add "$uninstall_key" /reg:32 /v "${entry%% *}" /d "${entry#* }" /f >/dev/null 2>&1
done
signin_arguments="wallpaper tile --pattern random --mirror kaleidoscope --size 64x48"
signin="\"$windows_dir\\vitrelle-wallpaper.exe\" $signin_arguments"
"$WINE" reg add "$run_key" /v "Vitrelle wallpaper" /d "$signin" /f >/dev/null 2>&1
run_silently "$setup"
expect "an update over 1.10 keeps the Pattern file byte for byte" cmp -s "$install_dir/vitrelle.cfg" "$work/changed.cfg"
updated_to_64bit() {
  local file
  for file in vitrelle.exe vitrelle-decode.exe vitrelle-cli.exe vitrelle-wallpaper.exe uninstall.exe; do
    [ "$(pe_machine "$install_dir/$file")" = 8664 ] || { echo "install: $file is not 64-bit" >&2; return 1; }
  done
  [ "$(pe_machine "$install_dir/vitrelle-decode32.exe")" = 014c ]
}
expect "an update over 1.10 replaces its programs and uninstaller with the 64-bit ones" updated_to_64bit
one_uninstall_entry() {
  [ "$(uninstall_entry DisplayVersion)" = "$version" ] || return 1
  local other
  other="$("$WINE" reg query "$uninstall_key" /reg:32 /v DisplayVersion 2>/dev/null | tr -d '\r' | sed -n "s/.*REG_SZ *//p")"
  [ -z "$other" ] || [ "$other" = "$version" ]
}
expect "an update over 1.10 leaves one uninstall entry, the new one" one_uninstall_entry
signin_value() { "$WINE" reg query "$run_key" /v "Vitrelle wallpaper" 2>/dev/null | tr -d '\r' | sed -n "s/.*REG_SZ *//p"; }
expect "an update over 1.10 keeps the sign-in entry" test "$(signin_value)" = "$signin"
# shellcheck disable=SC2086 # the entry's arguments, as the system splits them
expect "the sign-in entry's tool, now the 64-bit one, sets the wallpaper" \
  "$WINE" "$install_dir/vitrelle-wallpaper.exe" $signin_arguments
# Installed into another folder, the update moves the sign-in entry there.
run_silently "$setup" "/D=C:\\VitrelleMoved"
expect "an update into another folder moves the sign-in entry with it" \
  test "$(signin_value)" = "\"C:\\VitrelleMoved\\vitrelle-wallpaper.exe\" $signin_arguments"
run_silently "$("$WINE" winepath -u 'C:\VitrelleMoved')/uninstall.exe"
expect "its uninstaller removes the sign-in entry it moved" test -z "$(signin_value)"

# The zip's program from a folder whose name no single-byte code page holds.
portable="$work/portable"
mkdir -p "$portable"
unzip -q "$zip" -d "$portable"
mv "$portable/vitrelle-$version" "$portable/Vitrelle Ünïcødé 図案 ★"
expect "the zip's program runs from a non-ASCII folder" env VITRELLE_CHECK_FOLDER="$("$WINE" winepath -w "$portable")" \
  "$WINE" "$check" portable-folder
# Pictures for the shipped plug-in, with the pixels an independent decoder reads.
/usr/bin/python3 tests/e2e/make_plugin_pictures.py "$(dirname "$check")/plugin-pictures"
expect "the zip's program opens non-ASCII PNG and JPEG names through its plug-in" \
  env VITRELLE_CHECK_FOLDER="$("$WINE" winepath -w "$portable")" "$WINE" "$check" portable-plugin-pictures

# F1 opens the manual, vitrelle.hlp being absent: web pages open here with a
# command that writes down the name it is given.
opened_file="$work/opened.txt"
"$WINE" reg add 'HKCR\.html' /ve /d VitrelleCheckPage /f >/dev/null 2>&1
"$WINE" reg add 'HKCR\VitrelleCheckPage\shell\open\command' /ve \
  /d "cmd /c echo %1>\"$("$WINE" winepath -w "$opened_file")\"" /f >/dev/null 2>&1
expect "F1 opens the manual beside the program" env VITRELLE_CHECK_FOLDER="$("$WINE" winepath -w "$portable")" \
  VITRELLE_OPENED_FILE="$("$WINE" winepath -w "$opened_file")" "$WINE" "$check" help-opens-manual

# High-DPI screens: at 150 % and 200 % the layout grows and nothing is cut
# off or overlaps, while the picture stays pixel for pixel.
set_dpi() {
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$WINESERVER" -k 2>/dev/null || true
}
for dpi in 144 192; do
  set_dpi "$dpi"
  expect "the layout fits at $dpi dpi" env VITRELLE_CHECK_FOLDER="$("$WINE" winepath -w "$portable")" \
    "$WINE" "$check" dpi-layout
done
set_dpi 96

echo "install: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
