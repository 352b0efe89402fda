#!/usr/bin/env bash
# Sets up, builds and runs every test: the fuzz targets for a short fixed
# time, the end-to-end tests of vitrelle.exe under Wine, the unit tests, and
# then the packages with their installation under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh native mingw fuzz
scripts/fuzz.sh
scripts/e2e.sh
ctest --preset native -j "$(nproc)"
scripts/package.sh
scripts/install_test.sh
