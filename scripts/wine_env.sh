# Sourced by the scripts that run Wine: the settings for running the 64-bit
# vitrelle.exe under Debian's 64-bit Wine, and a virtual display for
# machines that have none. Wine is always run through its 64-bit loader by
# full path ($WINE, with WINELOADER set to it), never through /usr/bin/wine,
# wineboot or wineserver, which pick the 32-bit loader whenever wine32 is
# installed. In the 64-bit prefix a 32-bit program runs through the 32-bit
# loader beside it, where there is one.
# Wine asks for no add-ons, writes no menu entries into the user's desktop,
# and starts no debugger when a program crashes (a crash ends the program, so
# a test fails instead of waiting for the debugger).
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINELOADER="$WINE" WINESERVER WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d"

xvfb_pid=""
xvfb_pids=()

# Starts Xvfb on a free display number, with a screen of the given size
# (1280x1024 unless told), and points DISPLAY at it.
start_xvfb() { # start_xvfb [WIDTHxHEIGHT]
  local number_file
  number_file="$(mktemp)"
  /usr/bin/Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp 3>"$number_file" 2>/dev/null &
  xvfb_pid=$!
  xvfb_pids+=("$xvfb_pid")
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$number_file" ]; then
    rm -f "$number_file"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
}

# Ends every Xvfb started here.
stop_xvfb() {
  local pid
  for pid in "${xvfb_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  xvfb_pids=()
  xvfb_pid=""
}

# Makes the Wine prefix $WINEPREFIX when it does not exist yet. Wine draws
# the caption buttons in Marlett, which Debian's Wine finds only in the
# prefix's font folder. When Wine cannot make the prefix, says why, with
# Wine's own words kept in the prefix's folder, and fails.
make_wine_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  local log="${WINEPREFIX%/}.wineboot.log" status=0
  if [ ! -x "$WINE" ]; then
    echo "Wine cannot run: $WINE is missing (Debian's package wine64)" >&2
    return 1
  fi
  mkdir -p "$WINEPREFIX"
  WINEDEBUG=err+all "$WINE" wineboot -i >"$log" 2>&1 || status=$?
  "$WINESERVER" -w 2>/dev/null || true
  if [ "$status" -ne 0 ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Wine could not make its prefix $WINEPREFIX: '$WINE wineboot -i' ended with exit code $status; Wine's output is in $log" >&2
    tail -n 5 "$log" >&2
    return 1
  fi
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}

# Makes a scratch folder under build/ ($work) holding a fresh Wine prefix,
# and on exit ends that prefix's Wine server and any Xvfb started here, and
# removes the folder.
use_scratch_wine() { # use_scratch_wine NAME
  work="$(mktemp -d "$PWD/build/$1.XXXXXX")"
  export WINEPREFIX="$work/prefix"
  trap '"$WINESERVER" -k 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
}
