#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillform (with FILE.qfd when given).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
qf_ensure_packages "${QF_BUILD_PACKAGES[@]}"
# A build folder that test.sh made keeps its tests; a fresh one needs none of the test packages.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQF_BUILD_TESTS=OFF \
    -DQF_BUILD_BENCH=OFF >/dev/null
fi
cmake --build build -j2 --target quillform
exec ./build/quillform "$@"
