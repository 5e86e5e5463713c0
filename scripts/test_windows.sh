#!/usr/bin/env bash
# Cross-builds the Windows side with MinGW-w64 into build-win/ and runs its tests under Wine
# (scripts/wine_run.sh keeps a private Wine prefix in build-win/wineprefix). Extra arguments
# go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# A new build folder builds without debug information, much quicker to compile and link, at
# -O2 (-O3 draws false -Wrestrict warnings from GCC 12's std::string).
first=()
[ -f build-win/CMakeCache.txt ] || first=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG")
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake "${launcher[@]}" \
  "${first[@]}" "$@"
cmake --build build-win -j 2
# Prepares the prefix and starts the shared wineserver once, before the tests run in parallel.
export WINEPREFIX="$PWD/build-win/wineprefix"
scripts/wine_run.sh cmd /c exit
ctest --test-dir build-win --output-on-failure -j 2
