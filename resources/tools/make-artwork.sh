#!/usr/bin/env bash
# Redraws the artwork in resources/ from the generator in artwork/. The build
# uses the committed pictures; run this only after changing the generator,
# then look at the pictures and commit them with it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -fPIC -Wall -Wextra -Werror "$here"/artwork/*.cpp \
    $(pkg-config --cflags --libs Qt6Gui) -o "$work/make-artwork"
QT_QPA_PLATFORM=offscreen "$work/make-artwork" "$here/.."
echo "Artwork written to $(cd "$here/.." && pwd)"
