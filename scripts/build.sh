#!/usr/bin/env bash
# Configures and builds one build tree. Usage: build.sh [debug|asan]  (default: the normal build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."
# Parallel jobs: 2 unless CW_JOBS says otherwise (the build machines are shared).
jobs=${CW_JOBS:-2}
# ccache, when present, shares compiled objects between build trees (and work trees: paths below the
# parent folder are hashed relative to it).
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd .. && pwd)}
fi
case "${1:-normal}" in
normal) cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
        cmake --build build -j"$jobs" ;;
asan)   CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCW_SANITIZE=ON -DCW_FUZZ=ON -DCW_BENCH=OFF -DCW_GUI=OFF "${launcher[@]}" >/dev/null
        cmake --build build-asan -j"$jobs" ;;
*) echo "usage: build.sh [normal|asan]" >&2; exit 2 ;;
esac
