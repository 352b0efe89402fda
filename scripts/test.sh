#!/usr/bin/env bash
# Sets up, builds and runs every test, quickest first so that a broken core
# is reported at once: the native unit tests and vitrelle-cli on the Linux
# desktops' settings, the same under the sanitizers, the 64-bit build's unit
# tests under 64-bit Wine with the byte-for-byte check of vitrelle-cli.exe
# against the native tool, the fuzz targets for a short fixed time, the
# end-to-end tests of vitrelle.exe under Wine, and then the packages with
# their installation under Wine.
#
# Where the machine runs 32-bit code and has 32-bit Wine, it also runs the
# unit tests as the 32-bit build and the scenario in which the program opens
# a picture through a 32-bit plug-in; elsewhere one line says what it left
# out, and the summary at the end says it again.
#
# Each step's output is kept in build/logs/STEP.log; a step that fails ends
# the run with its name, command, exit code and log.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
. scripts/common.sh
run_step setup scripts/setup.sh
export VITRELLE_SETUP_DONE=1
run_step setup-with-a-mirror-in-sync env -u VITRELLE_SETUP_DONE scripts/setup_test.sh

run_step build-native scripts/build.sh native
run_step unit-tests ctest --preset native -j "$jobs"
run_step desktop-tests scripts/desktop_tests.sh

run_step build-sanitize scripts/build.sh sanitize
run_step unit-tests-sanitized ctest --preset sanitize -j "$jobs"

run_step build-windows scripts/build.sh mingw64
no_32bit="$(why_no_32bit_wine)"
if [ -z "$no_32bit" ] && ! wine_runs_32bit_programs build/mingw64/vitrelle-decode32.exe; then
  no_32bit="this Wine does not run 32-bit programs"
fi
left_out=""
if [ -n "$no_32bit" ]; then
  left_out="Left out: the 32-bit unit tests under Wine, and a 32-bit plug-in opening its picture (the scenario checks instead that it is left out with its reason), since $no_32bit."
  echo "$left_out"
fi
export VITRELLE_E2E_32BIT_WINE=$([ -z "$no_32bit" ] && echo 1 || echo 0)
run_step wine-tests scripts/wine_tests.sh mingw64
if [ -z "$no_32bit" ]; then
  run_step build-windows-32bit cmake --build --preset mingw32 -j "$jobs" --target vitrelle_tests
  run_step wine-tests-32bit scripts/wine_tests.sh mingw32
fi

run_step build-fuzz scripts/build.sh fuzz
run_step fuzz env FUZZ_SECONDS="${FUZZ_SECONDS:-20}" scripts/fuzz.sh

run_step e2e scripts/e2e.sh

run_step packages scripts/package.sh
run_step install-tests scripts/install_test.sh

echo "test.sh: every step passed."
[ -z "$left_out" ] || echo "$left_out"
