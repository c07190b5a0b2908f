#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the unit and real-player tests, the same unit tests
# under AddressSanitizer and UBSan, and the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh normal
(cd build && ctest --output-on-failure -j2 --timeout 600)
bash scripts/build.sh asan
lsan_supp="$PWD/fuzz/lsan.supp" # leaks inside third-party decoders
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$lsan_supp ctest --output-on-failure -j2 --timeout 900 -LE e2e)
bash scripts/fuzz.sh build-asan "${CW_FUZZ_SECONDS:-20}"
