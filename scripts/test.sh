#!/usr/bin/env bash
# Sets up, builds and runs every test: the fuzz targets for a short fixed
# time, the end-to-end tests of vitrelle.exe under Wine, then the unit tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh native mingw fuzz
scripts/fuzz.sh
scripts/e2e.sh
ctest --preset native -j "$(nproc)"
