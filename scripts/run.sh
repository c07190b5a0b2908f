#!/usr/bin/env bash
# Sets everything up, builds, and runs the program's main job: writes the default project and prints it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh normal
out=build/out
mkdir -p "$out"
export CARDWRIGHT_WORK="$PWD/$out/work"
build/src/cli/cardwright-cli new -o "$out/default.cwp"
build/src/cli/cardwright-cli dump "$out/default.cwp"
