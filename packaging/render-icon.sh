#!/bin/sh
# Renders the committed 256 px PNG icon from the hand-written SVG. Run it
# after changing org.quarnet.Quarnet.svg and commit both files; the build
# never runs it, so neither ImageMagick nor librsvg is a build dependency.
# -strip drops the time stamps, so an unchanged SVG gives identical bytes.
set -eu
cd "$(dirname "$0")"
convert -background none org.quarnet.Quarnet.svg -resize 256x256 -depth 8 -strip \
  PNG32:org.quarnet.Quarnet.png
