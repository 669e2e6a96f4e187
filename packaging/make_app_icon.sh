#!/bin/sh
# Draws the application icon with ImageMagick: a plan list sheet with its
# table and one cell being edited, in front of a building plan. Our own
# drawing, made at 256 pixels and scaled to the theme sizes in icons/; run
# from this folder after changing a shape.
set -e
convert -size 256x256 xc:none \
    -fill '#1d4f91' -stroke none -draw 'roundrectangle 8,40 200,236 14,14' \
    -fill none -stroke '#cfe0f5' -strokewidth 3 \
    -draw 'polyline 24,120 24,220 120,220' -draw 'line 24,170 40,170' \
    -fill '#ffffff' -stroke '#6f7c8c' -strokewidth 4 \
    -draw 'polygon 56,12 192,12 232,52 232,246 56,246' \
    -fill '#d4dbe4' -draw 'polygon 192,12 192,52 232,52' \
    -fill '#2f5fa8' -stroke none -draw 'rectangle 74,66 214,96' \
    -stroke '#9fb0c4' -strokewidth 4 \
    -draw 'line 74,126 214,126' -draw 'line 74,156 214,156' \
    -draw 'line 74,186 214,186' -draw 'line 74,216 214,216' \
    -draw 'line 120,96 120,228' -draw 'line 166,96 166,228' \
    -fill '#f3c94b' -stroke '#b8860b' -draw 'rectangle 120,126 166,156' \
    -strip PNG32:icons/256.png
for size in 16 22 24 32 48 64 128; do
    convert icons/256.png -resize "${size}x$size" -strip PNG32:"icons/$size.png"
done
