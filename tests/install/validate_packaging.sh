#!/usr/bin/env bash
# The desktop integration files as they are in the source tree: both menu entries, the metainfo, the
# file type (the .cwp magic must recognise a project without its extension). Usage: validate_packaging.sh
# PACKAGING_DIR CARDWRIGHT_CLI
set -euo pipefail
dir="$1" cli="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
desktop-file-validate "$dir/cardwright.desktop" "$dir/cardwright-player.desktop"
appstreamcli validate --no-net "$dir/example.cardwright.Cardwright.metainfo.xml"
mkdir -p "$tmp/share/mime/packages"
cp "$dir/cardwright-mime.xml" "$tmp/share/mime/packages/"
update-mime-database "$tmp/share/mime" 2>/dev/null
CARDWRIGHT_WORK="$tmp/work" "$cli" new -o "$tmp/project.cwp"
cp "$tmp/project.cwp" "$tmp/no-extension"
for file in project.cwp no-extension; do
    type="$(XDG_DATA_HOME="$tmp/share" XDG_DATA_DIRS="$tmp/share:/usr/share" \
            gio info -a standard::content-type "$tmp/$file" | sed -n 's/.*content-type: //p')"
    [ "$type" = application/x-cardwright-project ] || { echo "FAIL: $file is $type" >&2; exit 1; }
done
echo "desktop files, metainfo and the project file type are valid"
