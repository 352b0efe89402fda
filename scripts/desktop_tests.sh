#!/usr/bin/env bash
# Puts wallpapers on real Linux desktops' settings with the native
# vitrelle-cli: xwallpaper on a bare Xvfb screen (read back from the root
# window), GNOME's gsettings with dconf under a private D-Bus and XFCE's
# xfconf with a running xfconfd holding two monitors and two workspaces
# (each also given a picture of an odd name), a desktop that is not found,
# and the autostart entry checked by desktop-file-validate. Then a picture
# for each screen on two RandR monitors of Xorg's dummy driver, one of them
# portrait: GNOME's spanned picture and XFCE's monitor keys. Ends with
# "desktop: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
cli="$PWD/build/native/vitrelle-cli"
[ -x "$cli" ] || { echo "desktop: build the native preset first"; exit 1; }
work="$(mktemp -d /tmp/vitrelle-desktop-XXXXXX)"
xvfb_pid=""
xorg_pid=""
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
  [ -z "$xorg_pid" ] || kill "$xorg_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() {  # check NAME COMMAND...: one named test
  local name="$1"
  shift
  if "$@" >"$work/last.log" 2>&1; then
    echo "desktop: $name: ok"
    passed=$((passed + 1))
  else
    echo "desktop: $name: FAILED"
    sed 's/^/    /' "$work/last.log"
    failed=$((failed + 1))
  fi
}

# A clean home for each test: data, state and settings folders of its own.
fresh_home() {
  rm -rf "$work/home"
  mkdir -p "$work/home"
  export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_STATE_HOME="$work/home/state" \
    XDG_CONFIG_HOME="$work/home/config"
}
newest_picture() { ls -v "$XDG_DATA_HOME"/vitrelle/wallpaper-*.png | tail -n 1; }
# A copy of the newest picture under a name holding quotes, blanks, $,
# backquotes, ;, a comma, a backslash, a line feed and non-ASCII text.
odd_picture() {
  local odd="$HOME/o'neil \$HOME; \`id\`, \"q\" \\ caf"$'\xc3\xa9\n'"line.png"
  cp "$(newest_picture)" "$odd" && printf '%s' "$odd"
}

# The root window holds the picture repeated from its top-left corner
# (tile), or once in its middle (center).
compare_root() {
  /usr/bin/import -display "$DISPLAY" -window root "$work/root.png" &&
    /usr/bin/python3 - "$work/root.png" "$(newest_picture)" "$1" <<'PY'
import sys
from PIL import Image
root = Image.open(sys.argv[1]).convert("RGB")
picture = Image.open(sys.argv[2]).convert("RGB")
(W, H), (w, h) = root.size, picture.size
bad = 0
if sys.argv[3] == "tile":
    for y in range(0, H, 3):
        for x in range(0, W, 3):
            bad += root.getpixel((x, y)) != picture.getpixel((x % w, y % h))
else:
    left, top = (W - w) // 2, (H - h) // 2
    for y in range(h):
        for x in range(w):
            bad += root.getpixel((left + x, top + y)) != picture.getpixel((x, y))
print(f"{bad} pixels differ ({sys.argv[3]}, root {W}x{H}, picture {w}x{h})")
sys.exit(1 if bad else 0)
PY
}

xwallpaper_test() {
  fresh_home
  env -u XDG_CURRENT_DESKTOP -u SWAYSOCK "$cli" wallpaper "$1" --time 1234 --pattern 0 --size 50x38 &&
    compare_root "$1"
}

no_desktop_test() {
  fresh_home
  local errors
  if errors="$(env -u DISPLAY -u SWAYSOCK XDG_CURRENT_DESKTOP=Nowhere "$cli" wallpaper tile --size 20x20 2>&1)"; then
    echo "exit code 0 without a desktop"
    return 1
  fi
  echo "$errors"
  grep -q "It knows GNOME" <<<"$errors" && [ -s "$(newest_picture)" ] &&
    grep -q "No desktop found" "$XDG_STATE_HOME/vitrelle/vitrelle-wallpaper.log"
}

keeps_two_test() {
  fresh_home
  for time in 1 2 3; do
    env -u XDG_CURRENT_DESKTOP -u SWAYSOCK "$cli" wallpaper tile --time "$time" --size 16x16 >/dev/null || return 1
  done
  local names
  names="$(cd "$XDG_DATA_HOME/vitrelle" && ls wallpaper-*.png)"
  echo "$names"
  [ "$names" = "$(printf 'wallpaper-2.png\nwallpaper-3.png')" ]
}

expect_value() {  # expect_value WHAT GOT WANTED
  echo "$1: $2"
  [ "$2" = "$3" ] || { echo "  wanted: $3"; return 1; }
}

gnome_session() {
  export GSETTINGS_BACKEND=dconf XDG_CURRENT_DESKTOP=GNOME
  unset DISPLAY SWAYSOCK
  local schema=org.gnome.desktop.background ok=0 uri
  "$cli" wallpaper center --time 99 --size 24x24 || return 1
  uri="file://$(newest_picture)"
  expect_value picture-uri "$(gsettings get $schema picture-uri)" "'$uri'" || ok=1
  expect_value picture-uri-dark "$(gsettings get $schema picture-uri-dark)" "'$uri'" || ok=1
  expect_value picture-options "$(gsettings get $schema picture-options)" "'centered'" || ok=1
  "$cli" wallpaper tile --time 100 --size 24x24 || return 1
  expect_value "picture-options after tile" "$(gsettings get $schema picture-options)" "'wallpaper'" || ok=1
  "$cli" wallpaper center --lock-screen --time 101 --size 24x24 || return 1
  uri="file://$(newest_picture)"
  expect_value "lock screen picture-uri" "$(gsettings get org.gnome.desktop.screensaver picture-uri)" "'$uri'" || ok=1
  expect_value "lock screen picture-options" \
    "$(gsettings get org.gnome.desktop.screensaver picture-options)" "'centered'" || ok=1
  "$cli" wallpaper clear || return 1
  expect_value "picture-options after clear" "$(gsettings get $schema picture-options)" "'none'" || ok=1
  local odd
  odd="$(odd_picture)" && "$cli" wallpaper tile --file "$odd" || return 1
  uri="$(/usr/bin/python3 -c 'import sys, urllib.parse; print("file://" + urllib.parse.quote(sys.argv[1]))' "$odd")"
  expect_value "picture-uri of an odd name" "$(gsettings get $schema picture-uri)" "'$uri'" || ok=1
  return $ok
}

xfce_session() {
  export XDG_CURRENT_DESKTOP=XFCE
  unset DISPLAY SWAYSOCK
  /usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd &
  local xfconfd=$! ok=0 property
  sleep 0.5
  local properties=()
  for monitor in monitorVirtual1 monitorVirtual2; do
    for workspace in workspace0 workspace1; do
      property="/backdrop/screen0/$monitor/$workspace/last-image"
      xfconf-query -c xfce4-desktop -p "$property" -n -t string -s /usr/share/old.png || ok=1
      properties+=("$property")
    done
  done
  "$cli" wallpaper tile --time 5 --size 24x24 || ok=1
  for property in "${properties[@]}"; do
    expect_value "$property" "$(xfconf-query -c xfce4-desktop -p "$property")" "$(newest_picture)" || ok=1
    expect_value "${property%last-image}image-style" \
      "$(xfconf-query -c xfce4-desktop -p "${property%last-image}image-style")" 2 || ok=1
  done
  local odd
  odd="$(odd_picture)" && "$cli" wallpaper center --file "$odd" || ok=1
  expect_value "last-image of an odd name" "$(xfconf-query -c xfce4-desktop -p "${properties[0]}")" "$odd" || ok=1
  kill "$xfconfd"
  return $ok
}

# The picture holds, in each region "WxH+X+Y" given, a picture of exactly
# that size: with --mirror cross each region is mirror-symmetric about its
# own middle lines, and no longer so one pixel row and column smaller.
check_regions() {  # check_regions PICTURE WIDTHxHEIGHT REGION...
  /usr/bin/python3 - "$@" <<'PY'
import re, sys
from PIL import Image
picture = Image.open(sys.argv[1]).convert("RGB")
print(f"{sys.argv[1]}: {picture.size[0]}x{picture.size[1]}")
if "%dx%d" % picture.size != sys.argv[2]:
    sys.exit(f"  wanted {sys.argv[2]}")
def symmetric(left, top, w, h):
    at = picture.getpixel
    return all(at((left + x, top + y)) == at((left + w - 1 - x, top + y)) == at((left + x, top + h - 1 - y))
               for y in range(0, h, 7) for x in range(0, w, 7))
bad = 0
for region in sys.argv[3:]:
    w, h, left, top = map(int, re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)", region).groups())
    mine, smaller = symmetric(left, top, w, h), symmetric(left, top, w - 1, h - 1)
    print(f"  {region}: symmetric about its middle {mine}, one pixel smaller {smaller}")
    bad += not mine or smaller
sys.exit(1 if bad else 0)
PY
}

private_bus_test() {  # private_bus_test FUNCTION: in a D-Bus session of its own
  fresh_home
  export -f "$1" expect_value newest_picture odd_picture check_regions
  export cli
  dbus-run-session -- bash -c "$1"
}

autostart_test() {
  fresh_home
  local entry="$XDG_CONFIG_HOME/autostart/vitrelle-wallpaper.desktop"
  "$cli" autostart on center --mirror cross --size 800x600 &&
    desktop-file-validate "$entry" &&
    grep -qx "Exec=$cli wallpaper center --mirror cross --size 800x600 --pattern random" "$entry" &&
    "$cli" autostart status | grep -q "^on: " &&
    "$cli" autostart off && [ ! -e "$entry" ] &&
    [ "$("$cli" autostart status)" = off ]
}

display=":$((50 + RANDOM % 400))"
Xvfb "$display" -screen 0 320x240x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

check "xwallpaper tile on a bare X screen" xwallpaper_test tile
check "xwallpaper center on a bare X screen" xwallpaper_test center
check "the newest two pictures are kept" keeps_two_test
check "no desktop found" no_desktop_test
check "GNOME through gsettings and dconf" private_bus_test gnome_session
check "XFCE through xfconf, two monitors, two workspaces" private_bus_test xfce_session
check "autostart entry" autostart_test

# Xorg's dummy driver keeps RandR monitors, which Xvfb does not: a
# 2000x1200 screen made into L (1200x900 at the left) and R (a portrait
# 800x1200 beside it).
each_screen_gnome() {
  export GSETTINGS_BACKEND=dconf XDG_CURRENT_DESKTOP=GNOME
  unset SWAYSOCK
  local schema=org.gnome.desktop.background ok=0
  "$cli" wallpaper center --each-screen --mirror cross --time 7 || return 1
  expect_value picture-options "$(gsettings get $schema picture-options)" "'spanned'" || ok=1
  expect_value picture-uri "$(gsettings get $schema picture-uri)" "'file://$(newest_picture)'" || ok=1
  check_regions "$(newest_picture)" 2000x1200 1200x900+0+0 800x1200+1200+0 || ok=1
  "$cli" wallpaper tile --each-screen --lock-screen --time 8 || return 1
  expect_value "lock screen picture-uri" "$(gsettings get org.gnome.desktop.screensaver picture-uri)" \
    "'file://$(newest_picture)'" || ok=1
  expect_value "lock screen picture-options" \
    "$(gsettings get org.gnome.desktop.screensaver picture-options)" "'spanned'" || ok=1
  return $ok
}

each_screen_xfce() {
  export XDG_CURRENT_DESKTOP=XFCE
  unset SWAYSOCK
  /usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd &
  local xfconfd=$! ok=0 property
  sleep 0.5
  xfconf-query -c xfce4-desktop -p /backdrop/screen0/monitorR/workspace1/last-image -n -t string -s /old.png || ok=1
  local told
  told="$("$cli" wallpaper tile --each-screen --mirror cross --lock-screen --time 8)" || ok=1
  echo "$told"
  grep -q "does not offer a lock screen picture" <<<"$told" || ok=1
  for monitor in L:1200x900 R:800x1200; do
    for workspace in workspace0 workspace1; do
      property="/backdrop/screen0/monitor${monitor%%:*}/$workspace/last-image"
      echo "$property: $(xfconf-query -c xfce4-desktop -p "$property")"
      check_regions "$(xfconf-query -c xfce4-desktop -p "$property")" "${monitor#*:}" "${monitor#*:}+0+0" || ok=1
    done
  done
  kill "$xfconfd"
  return $ok
}

two_monitors() {
  local config="$work/xorg.conf"
  cat >"$config" <<'CONF'
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 32768
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "2000x1200" 100.00 2000 2001 2002 2003 1200 1201 1202 1203
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2000 1200
    Modes "2000x1200"
  EndSubSection
EndSection
CONF
  local display=":$((500 + RANDOM % 400))"
  Xorg "$display" -config "$config" -noreset -nolisten tcp -logfile "$work/xorg.log" >/dev/null 2>&1 &
  xorg_pid=$!
  export DISPLAY="$display"
  for _ in $(seq 50); do xrandr >/dev/null 2>&1 && break; sleep 0.1; done
  xrandr --setmonitor L 1200/300x900/225+0+0 DUMMY0 && xrandr --setmonitor R 800/200x1200/300+1200+0 none &&
    xrandr --listmonitors
}

if check "two RandR monitors on Xorg's dummy driver" two_monitors; then
  check "GNOME: each screen's picture in one spanned picture" private_bus_test each_screen_gnome
  check "XFCE: each monitor's keys get its screen's picture" private_bus_test each_screen_xfce
fi

echo "desktop: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
