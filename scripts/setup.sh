#!/usr/bin/env bash
# Installs what a bare Debian 12 machine lacks to build Cardwright and run its tests.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    # build
    cmake ninja-build g++ clang pkg-config libclang-rt-14-dev ccache
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    # libraries
    zlib1g-dev libfreetype-dev fonts-dejavu-core libvips-dev libexif-dev libmpg123-dev libmp3lame-dev
    libjpeg62-turbo-dev # photo thumbnails decoded shrunk by libjpeg-turbo itself
    libharfbuzz-dev libfribidi-dev libharfbuzz-bin fonts-droid-fallback fonts-noto-core
    libgraphviz-dev # the story map: dot's layered layout, called as a library
    fonts-nanum
    libwoff-dev # the web page's faces as WOFF2
    libxml2-dev # Twine 2 HTML stories (its HTML parser)
    # the desktop programs: Qt 6 Widgets, WebEngine for the player, Multimedia (GStreamer) for music
    qt6-base-dev qt6-webengine-dev qt6-multimedia-dev qt6-svg-dev libgl-dev libxkbcommon-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    # desktop integration: mail hand-off, file validation
    xdg-utils desktop-file-utils appstream shared-mime-info dbus
    fonts-urw-base35 # CFF fonts (cubic outlines) for the font tool's tests
    # WMF pictures: ImageMagick's metafile coder (libvips-dev pulls it in today; the reader needs it)
    libmagickcore-6.q16-6-extra
    # tests: an independent SWF parser, zip tools, picture and sound tools, the real player's browser
    python3 python3-yaswfp p7zip-full unzip zip imagemagick lame sox
    hunspell hunspell-en-us hunspell-en-gb # the spelling of every text a user reads
    chromium
    # the desktop suite: an X server, a window manager, pointer and keys, the accessibility bus
    xvfb openbox xdotool x11-utils x11-xserver-utils at-spi2-core python3-pyatspi dbus-x11
    firefox-esr # the web page gift opens in it too
    # install and package: icon sizes, man pages, the Debian package's dependencies; start-up figures
    librsvg2-bin help2man dpkg-dev file hyperfine
    libimage-exiftool-perl # the picker benchmark embeds camera thumbnails
)
# Node.js with npm, for the real-player tests; some machines carry a Node.js build that bundles npm.
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The real-player tests: Ruffle and playwright-core, pinned in tests/e2e/package-lock.json.
if [ -f tests/e2e/package.json ]; then
    (cd tests/e2e && if [ -f package-lock.json ]; then npm ci --no-audit --no-fund; else npm install --no-audit --no-fund; fi) >/dev/null
fi
