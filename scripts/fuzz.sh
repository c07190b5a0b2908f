#!/usr/bin/env bash
# Replays every fuzz corpus and then runs each libFuzzer target on fresh input.
# Usage: fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}
seconds=${2:-60}
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
# Leaks inside third-party decoders are reported once there, not failed on (fuzz/lsan.supp).
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
for dir in fuzz/*/; do
    name=$(basename "$dir")
    bin="$build/fuzz/$name/fuzz_$name"
    [ -x "$bin" ] || { echo "fuzz: no binary for $name" >&2; exit 1; }
    corpus="$dir/corpus"
    echo "== fuzz $name: replaying $(ls "$corpus" | wc -l) inputs"
    "$bin" -runs=0 "$corpus" 2>&1 | tail -n 2
    work=$(mktemp -d)
    cp -r "$corpus"/. "$work"/
    echo "== fuzz $name: ${seconds}s of fresh input"
    "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 "$work" 2>&1 | tail -n 3
    rm -rf "$work"
done
