#!/usr/bin/env bash
# Sets up, builds and runs every test, quickest first so that a broken core
# is reported at once: the native unit tests and vitrelle-cli on the Linux
# desktops' settings, the same under the sanitizers,
# the 32-bit build's unit tests under Wine with the byte-for-byte check of
# vitrelle-cli.exe against the native tool, the fuzz targets for a short
# fixed time, the end-to-end tests of vitrelle.exe under Wine, and then the
# packages with their installation under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
scripts/setup.sh

scripts/build.sh native
ctest --preset native -j "$jobs"
scripts/desktop_tests.sh

scripts/build.sh sanitize
ctest --preset sanitize -j "$jobs"

scripts/build.sh mingw
scripts/wine_tests.sh

scripts/build.sh fuzz
FUZZ_SECONDS="${FUZZ_SECONDS:-20}" scripts/fuzz.sh

scripts/e2e.sh

scripts/package.sh
scripts/install_test.sh
