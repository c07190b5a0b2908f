#!/usr/bin/env bash
# Installs the build into a temporary prefix, moves the prefix elsewhere (an install must not depend on
# where it was put, nor on the build tree), and runs the programs from there: cardwright-cli new, and
# build with a picture from the installed data root (so the installed picture module is the one loaded);
# the player's --help when it is built. Also validates the desktop files and the metainfo as installed.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/first" >/dev/null
mv "$tmp/first" "$tmp/prefix"
prefix="$tmp/prefix"
# Nothing of the build tree may help: no data root, no work folder, no module named in the environment.
unset CARDWRIGHT_HOME CARDWRIGHT_IMAGING_MODULE
export CARDWRIGHT_WORK="$tmp/work" HOME="$tmp/home"
cd "$tmp"

for f in bin/cardwright-cli share/cardwright/Font/Sans.fdb share/cardwright/Ruffle/ruffle.js \
         share/mime/packages/cardwright.xml share/icons/hicolor/scalable/apps/cardwright.svg \
         share/icons/hicolor/48x48/apps/cardwright.png share/man/man1/cardwright-cli.1; do
    [ -e "$prefix/$f" ] || fail "$f was not installed"
done
[ -n "$(find "$prefix" -path '*/cardwright/cardwright-imaging.so')" ] || fail "the picture module was not installed"

"$prefix/bin/cardwright-cli" new -o project.cwp
# A card with a picture background from the installed data root, so the build needs the picture module.
background="$(cd "$prefix/share/cardwright/Background" && ls | grep -iE '\.(jpg|png|gif)$' | head -1)"
[ -n "$background" ] || fail "no background pictures installed"
"$prefix/bin/cardwright-cli" dump project.cwp |
    python3 -c 'import json,sys; p=json.load(sys.stdin); c=p["cards"][0]; c["m_bProjectBg"]=0;
c["m_strBackground"]="Background\\"+sys.argv[1]; json.dump(p, sys.stdout)' "$background" > project.json
"$prefix/bin/cardwright-cli" pack project.json -o picture.cwp
LD_DEBUG=files "$prefix/bin/cardwright-cli" build picture.cwp -o gift.swf 2> loads.txt ||
    { cat loads.txt >&2; fail "build from the install failed"; }
[ -s gift.swf ] || fail "no movie written"
grep -q "file=$prefix/.*cardwright-imaging.so" loads.txt || fail "the installed picture module was not the one loaded"
if grep -q "file=$build" loads.txt; then fail "something was loaded from the build tree"; fi
"$prefix/bin/cardwright-cli" swfdump gift.swf | grep -i "DefineBits" >/dev/null || fail "the movie holds no picture"

if [ -x "$prefix/bin/cardwright-player" ]; then
    QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 "$prefix/bin/cardwright-player" --help >/dev/null ||
        fail "cardwright-player --help"
fi
for desktop in "$prefix"/share/applications/*.desktop; do
    [ -e "$desktop" ] || continue
    desktop-file-validate "$desktop" || fail "$desktop"
done
for metainfo in "$prefix"/share/metainfo/*.xml; do
    [ -e "$metainfo" ] || continue
    appstreamcli validate --no-net "$metainfo" >/dev/null || fail "$metainfo"
done
echo "installed, moved and ran from $prefix"
