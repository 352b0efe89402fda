# Sourced by the scripts: whether this machine runs 32-bit code, and steps
# that name themselves, their command, exit code and log when they fail.

# Whether the kernel runs 32-bit x86 programs. Many kernels have their 32-bit
# emulation off ("Exec format error"); the only sure test is to run one: a
# 96-byte static i386 program that does nothing but exit with code 42. It is
# written under build/, since /tmp may forbid running programs.
runs_32bit_code() {
  local probe status=0
  mkdir -p build
  probe="$(mktemp build/probe32.XXXXXX)"
  local bytes='\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000'
  bytes+='\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000'
  bytes+='\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000'
  bytes+='\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200'
  printf '%b' "$bytes" >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

# Why the 32-bit checks cannot run here, or nothing when they can: they need
# 32-bit code and Debian's 32-bit Wine loader (package wine32:i386).
why_no_32bit_wine() {
  if ! runs_32bit_code; then
    echo "this machine runs no 32-bit code"
  elif [ ! -x /usr/lib/wine/wine ]; then
    echo "32-bit Wine (wine32:i386) is not installed"
  fi
}

# Whether Wine runs a 32-bit Windows program here: the 32-bit plug-in
# helper, started without arguments, must end with its code for bad
# arguments (4). Runs in a scratch Wine prefix of its own.
wine_runs_32bit_programs() { # wine_runs_32bit_programs HELPER32
  (
    . scripts/wine_env.sh
    use_scratch_wine probe32
    make_wine_prefix >/dev/null 2>&1 || exit 1
    status=0
    timeout 60 "$WINE" "$1" >/dev/null 2>&1 || status=$?
    [ "$status" -eq 4 ]
  )
}

# Runs a named step with its output also kept in build/logs/NAME.log. When
# it fails, says which step, which command, its exit code and the log, and
# ends the script with that code.
run_step() { # run_step NAME COMMAND [ARGUMENT...]
  local name="$1" log status
  shift
  mkdir -p build/logs
  log="$PWD/build/logs/$name.log"
  echo "== $name"
  if "$@" 2>&1 | tee "$log"; then
    return 0
  else
    status="${PIPESTATUS[0]}"
  fi
  echo "FAILED: the step '$name' ($*) ended with exit code $status; its output is in $log" >&2
  exit "$status"
}
