#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the full suite, then the core and command-line tests under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKC_WERROR=ON > /dev/null
cmake --build build-test -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKC_WERROR=ON \
    -DKC_SANITIZE=ON -DKC_CORE_ONLY=ON > /dev/null
cmake --build build-asan -j "$jobs"

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer (core) =="
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$jobs")

echo "== All tests =="
cd build-test && ctest --output-on-failure -j "$jobs"
