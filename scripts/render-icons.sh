#!/usr/bin/env bash
# Renders the committed PNG icons from data/icons/tesvarin.svg (needs rsvg-convert, Debian librsvg2-bin).
# Run after changing the drawing; the build itself only copies the files.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" tesvarin.svg -o "${size}x${size}/tesvarin.png"
done
