#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test.
#   ./test.sh             the normal build in build/, every test, the package checks and a short
#                         fuzzing smoke run
#   ./test.sh --sanitize  the unit tests again, built with AddressSanitizer and UBSan in build-asan/
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
. scripts/cups.sh
. scripts/postgres.sh

sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    *) echo "usage: ./test.sh [--sanitize]" >&2; exit 2 ;;
  esac
done

qf_ensure_packages "${QF_BUILD_PACKAGES[@]}" "${QF_TEST_PACKAGES[@]}"
qf_ensure_packages $(qf_clang_runtime_package)
export QT_QPA_PLATFORM=offscreen
# The services the tests use are stopped, and the machine left as it was, however the run ends.
trap 'qf_stop_postgres; qf_stop_cups' EXIT
qf_setup_cups "$PWD/build-cups-pdf"
qf_setup_postgres tests/data/db/invoices.sql tests/data/csv/invoices.csv

if [ "$sanitize" -eq 1 ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQF_WERROR=ON -DQF_SANITIZE=ON \
    -DQF_BUILD_TESTS=ON -DQF_BUILD_BENCH=OFF
  cmake --build build-asan -j2
  # Qt's own libraries are not instrumented; leaks inside them are not ours to find.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir build-asan --output-on-failure -j2
  exit 0
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQF_WERROR=ON \
  -DQF_BUILD_TESTS=ON -DQF_BUILD_BENCH=ON
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
scripts/package_check.sh build

# The fuzz targets need clang's libFuzzer; a short run shows they build and start.
if command -v clang++ >/dev/null 2>&1; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQF_BUILD_TESTS=OFF -DQF_BUILD_BENCH=OFF -DQF_BUILD_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j2 --target fuzz_load_design fuzz_settings fuzz_csv fuzz_basic
  fuzz/smoke.sh build-fuzz/fuzz/fuzz_load_design 20
  fuzz/smoke.sh build-fuzz/fuzz/fuzz_settings 10 '*.ini'
  fuzz/smoke.sh build-fuzz/fuzz/fuzz_csv 15 'csv/*.csv'
  fuzz/smoke.sh build-fuzz/fuzz/fuzz_basic 15 '*.bas programs/*.bas programs/*.cls'
fi
