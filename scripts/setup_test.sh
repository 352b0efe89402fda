#!/usr/bin/env bash
# Checks scripts/setup.sh against a package mirror in sync, with stand-in
# apt-get, dpkg and dpkg-query first on PATH that install nothing but
# record what they are asked:
#   - an update that fails for one index is a warning naming it, and set-up
#     goes on;
#   - an install that fails once is tried again after a new update;
#   - an install that fails twice stops set-up, naming the packages;
#   - 32-bit Wine that cannot be installed leaves set-up going, saying so
#     (where the machine runs 32-bit code, the only place it is asked for).
# Ends with "setup: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
work="$(mktemp -d "$PWD/build/setup-test.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"

# The stand-ins. Every package counts as installed but those listed in
# $work/missing; an install fails while $work/failures holds a number above
# 0 (counted down), or always for a package listed in $work/broken.
cat >"$work/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STANDIN/calls"
case "$1" in
  update)
    echo "Err:6 http://mirror.invalid/debian-security bookworm-security/main i386 Packages"
    echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    exit 100 ;;
  install)
    for package in "$@"; do
      grep -qxF -- "$package" "$STANDIN/broken" 2>/dev/null && exit 100
    done
    left="$(cat "$STANDIN/failures" 2>/dev/null || echo 0)"
    if [ "$left" -gt 0 ]; then echo $((left - 1)) >"$STANDIN/failures"; exit 100; fi ;;
esac
exit 0
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
package="${*: -1}"
grep -qxF -- "$package" "$STANDIN/missing" 2>/dev/null && exit 1
printf 'install ok installed'
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/usr/bin/env bash
echo "dpkg $*" >>"$STANDIN/calls"
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
EOF
chmod +x "$work/bin/"*

passed=0
failed=0
check() { # check WHAT CONDITION...
  if "${@:2}"; then
    echo "setup: $1: ok"
    passed=$((passed + 1))
  else
    echo "setup: $1: FAILED"
    failed=$((failed + 1))
  fi
}

# Runs set-up with the stand-ins: missing packages, install failures to come,
# broken packages. Leaves its exit code, output and the calls in $work.
run_setup() { # run_setup MISSING FAILURES BROKEN
  printf '%s\n' $1 >"$work/missing"
  echo "$2" >"$work/failures"
  printf '%s\n' $3 >"$work/broken"
  : >"$work/calls"
  status=0
  STANDIN="$work" PATH="$work/bin:$PATH" VITRELLE_APT_RETRY_SECONDS=0 scripts/setup.sh >"$work/output" 2>&1 || status=$?
}
updates() { grep -c '^apt-get update' "$work/calls"; }
said() { grep -qF -- "$1" "$work/output"; }

run_setup "nsis zip" 0 ""
check "a failed update is a warning naming the index" \
  test "$status" -eq 0 -a "$(updates)" -eq 1
check "the warning names the index" said "bookworm-security/main i386 Packages"
check "the missing packages are installed" grep -q '^apt-get install .* nsis zip$' "$work/calls"

run_setup "nsis" 1 ""
check "an install that fails once is tried again after a new update" \
  test "$status" -eq 0 -a "$(updates)" -eq 2 -a "$(grep -c '^apt-get install' "$work/calls")" -eq 2

run_setup "nsis zip" 2 ""
check "an install that fails twice stops set-up" test "$status" -ne 0
check "and names the packages" said "could not be installed: nsis zip"

if runs_32bit_code; then
  run_setup "wine32:i386" 0 "wine32:i386"
  check "32-bit Wine that cannot be installed leaves set-up going" test "$status" -eq 0
  check "and says so" said "wine32:i386 could not be installed"
fi

echo "setup: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
