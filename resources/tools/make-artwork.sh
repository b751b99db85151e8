#!/usr/bin/env bash
# Redraws the artwork in resources/ from the generator in artwork/ (needs
# Qt's development files and ImageMagick). The build uses the committed
# pictures; run this only after changing the generator, then look at the
# pictures and commit them with it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -fPIC -Wall -Wextra -Werror "$here"/artwork/*.cpp \
    $(pkg-config --cflags --libs Qt6Gui) -o "$work/make-artwork"
QT_QPA_PLATFORM=offscreen "$work/make-artwork" "$here/.."
# The Windows build's icon: every size of the program's icon in one file
# (ImageMagick), committed, since a Windows machine has no ImageMagick.
convert "$here"/../icons/hicolor/{16,32,48,64,128,256}/vxa-manager.png "$here/../windows/vxa-manager.ico"
echo "Artwork written to $(cd "$here/.." && pwd)"
