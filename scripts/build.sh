#!/usr/bin/env bash
# Configures and builds one build tree. Usage: build.sh [debug|asan]  (default: the normal build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."
# Parallel jobs: 2 unless CW_JOBS says otherwise (the build machines are shared).
jobs=${CW_JOBS:-2}
case "${1:-normal}" in
normal) cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build build -j"$jobs" ;;
asan)   CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCW_SANITIZE=ON -DCW_FUZZ=ON -DCW_BENCH=OFF >/dev/null
        cmake --build build-asan -j"$jobs" ;;
*) echo "usage: build.sh [normal|asan]" >&2; exit 2 ;;
esac
