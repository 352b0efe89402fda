#!/usr/bin/env bash
# Configures and builds the given presets (native, sanitize, mingw64,
# mingw32, fuzz); native, mingw64 and fuzz by default. Under continuous
# integration (CI=true) every warning is an error.
#
# The 64-bit Windows build (mingw64) also gets what only the 32-bit compiler
# makes: vitrelle-decode32.exe, the helper for 32-bit plug-ins, which ships
# beside vitrelle.exe, and the 32-bit test plug-in (test-plugins/test-32bit.spi).
# The i686 cross compiler runs on every machine, so this needs no 32-bit code.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ "${#presets[@]}" -gt 0 ] || presets=(native mingw64 fuzz)
werror=OFF
[ "${CI:-}" = true ] && werror=ON
for preset in "${presets[@]}"; do
  cmake --preset "$preset" -DVITRELLE_WERROR="$werror" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
  if [ "$preset" = mingw64 ]; then
    cmake --preset mingw32 -DVITRELLE_WERROR="$werror" >/dev/null
    cmake --build --preset mingw32 -j "$(nproc)" --target vitrelle-decode test-two-formats
    cp build/mingw32/vitrelle-decode32.exe build/mingw64/
    cp build/mingw32/test-plugins/test-two-formats.spi build/mingw64/test-plugins/test-32bit.spi
  fi
done
