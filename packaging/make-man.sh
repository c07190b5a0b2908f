#!/usr/bin/env bash
# Writes the man page of one of the programs from its --help (help2man), plus, for cardwright-cli, a
# COMMANDS section made of every command's own --help.
# Usage: make-man.sh PROGRAM VERSION OUT.1
set -euo pipefail
program="$1" version="$2" out="$3"
name="$(basename "$program")"
include="$(mktemp)"
trap 'rm -f "$include"' EXIT
case "$name" in
cardwright-cli)
    description="make e-gift movies, albums and zips from the command line" ;;
cardwright-player)
    description="play e-gifts and other Flash movies" ;;
*)
    description="make interactive greeting e-gifts" ;;
esac
{
    echo "[name]"
    echo "$name \\- $description"
    echo "[environment]"
    echo ".TP"
    echo ".B CARDWRIGHT_HOME"
    echo "The data root (fonts, backgrounds, buttons, music, themes, samples, the player); by default"
    echo "share/cardwright beside the program's bin folder."
    echo ".TP"
    echo ".B CARDWRIGHT_WORK"
    echo "The work folder (Temp, the rescue file, the log); by default \$XDG_STATE_HOME/cardwright."
    if [ "$name" = cardwright-cli ]; then
        echo "[commands]"
        "$program" --help | sed -n 's/^  \([a-z-]*\) .*/\1/p' | while read -r command; do
            echo ".SS $command"
            # One paragraph per help block; lines starting with a dot would read as requests.
            "$program" "$command" --help | sed -e 's/^\./\\\&./' -e 's/\\/\\\\/g' -e 's/^$/.PP/'
        done
    fi
} > "$include"
# help2man reads a command list as "name, two spaces, text": widen the gap after every command name. A
# program that does not answer --help within 20 s (a desktop program waiting for something) gets the
# plain page below.
# The wrapper carries the program's name, which help2man puts in the page's title.
wrapdir="$(mktemp -d)"
wrapper="$wrapdir/$name"
trap 'rm -rf "$include" "$wrapdir"' EXIT
cat > "$wrapper" <<WRAPPER
#!/bin/bash
out="\$(timeout 20 "$program" "\$@" 2>/dev/null)" || exit 1 # no output: help2man gives up
printf '%s\n' "\$out" | sed 's/^\(  [a-z-]*\) /\1   /'
WRAPPER
chmod +x "$wrapper"
if ! QT_QPA_PLATFORM=offscreen help2man --no-info --version-string="$version" \
    --name="$description" --include="$include" --output="$out" "$wrapper" 2>/dev/null; then
    # A program without a usable --help still gets a page: its name, synopsis and environment.
    {
        echo ".TH $(tr 'a-z' 'A-Z' <<<"$name") 1 \"\" \"$name $version\" \"User Commands\""
        echo ".SH NAME"
        echo "$name \\- $description"
        echo ".SH SYNOPSIS"
        echo ".B $name"
        echo "[\\fIFILE\\fR]"
        sed -n '/^\[environment\]/,/^\[/p' "$include" | sed -e '1s/.*/.SH ENVIRONMENT/' -e '/^\[/d'
    } > "$out"
fi
