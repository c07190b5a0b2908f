#!/usr/bin/env bash
# Sets everything up, builds, and runs the program: on a desktop (a display, and the editor built) the
# editor opens the sample quiz; otherwise the sample quiz becomes its e-gift movie and, where the
# command-line program offers it, a self-running HTML page, and their places are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh normal
quiz="$PWD/build/data/Themes/Quiz.cwp"
editor="$PWD/build/src/editor/cardwright"
cli="$PWD/build/src/cli/cardwright-cli"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$editor" ]; then
    echo "Opening the sample quiz in the editor"
    # Qt WebEngine (the preview) refuses to run as root with its sandbox on.
    [ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
    exec "$editor" "$quiz"
fi

out="$PWD/build/out"
mkdir -p "$out"
export CARDWRIGHT_WORK="$out/work"
"$cli" new -o "$out/default.cwp"
"$cli" build "$out/default.cwp" -o "$out/default.swf"
"$cli" build "$quiz" -o "$out/quiz.swf"
echo "The sample quiz's movie:        $out/quiz.swf"
echo "The default project's movie:    $out/default.swf"
# The self-running page, once the command-line program has the html command; its usage line says
# whether it takes the project or the movie.
if usage="$("$cli" html --help 2>/dev/null)"; then
    source_file="$quiz"
    grep -q -m1 '\.swf' <<<"$(head -1 <<<"$usage")" && source_file="$out/quiz.swf"
    "$cli" html "$source_file" -o "$out/quiz.html"
    echo "The sample quiz as a page:      $out/quiz.html (opens in any current browser)"
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "(No display: the editor opens the sample quiz when run on a desktop.)"
elif [ ! -x "$editor" ]; then
    echo "(The editor is not part of this build.)"
fi
