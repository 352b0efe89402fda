#!/usr/bin/env bash
# Configures and builds the given presets (native, sanitize, mingw, fuzz);
# native, mingw and fuzz by default. Under continuous integration (CI=true)
# every warning is an error.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ "${#presets[@]}" -gt 0 ] || presets=(native mingw fuzz)
werror=OFF
[ "${CI:-}" = true ] && werror=ON
for preset in "${presets[@]}"; do
  cmake --preset "$preset" -DVITRELLE_WERROR="$werror" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
