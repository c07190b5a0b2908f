#!/usr/bin/env bash
# Sets everything up, builds, and runs the main job: writes the default project, prints it, and builds the
# e-gift movies of the default project and of the sample quiz.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh normal
out=build/out
mkdir -p "$out"
export CARDWRIGHT_WORK="$PWD/$out/work"
build/src/cli/cardwright-cli new -o "$out/default.cwp"
build/src/cli/cardwright-cli dump "$out/default.cwp"
build/src/cli/cardwright-cli build "$out/default.cwp" -o "$out/default.swf"
build/src/cli/cardwright-cli build build/data/Themes/Quiz.cwp -o "$out/quiz.swf"
echo "Wrote $out/default.swf and $out/quiz.swf"
