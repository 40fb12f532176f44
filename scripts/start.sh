#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kachikoshi Cup.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKC_BUILD_TESTS=OFF > /dev/null
cmake --build build --target kachikoshi
exec ./build/kachikoshi "$@"
