#!/bin/sh
# Draws the four toolbar icons with ImageMagick: 32 x 32, and 64 x 64 as name@2x.png
# for screens with two device pixels to a logical one. Our own drawings, each shape
# given once on the 32-pixel grid; run from this folder after changing a shape.
set -e
for factor in 1 2; do
    size=$((32 * factor)) suffix=$([ "$factor" = 1 ] || echo "@${factor}x")
    # Pixel centres map onto pixel centres; lines grow with the grid.
    offset=$([ "$factor" = 1 ] && echo 0 || echo 0.5)
    grid="-size ${size}x${size} xc:none -affine $factor,0,0,$factor,$offset,$offset"
    convert $grid \
        -fill '#d9a53a' -stroke '#7a5a14' -strokewidth 1 \
        -draw 'polygon 2,9 12,9 14,11 29,11 29,27 2,27' \
        -fill '#f3cf6b' -draw 'polygon 5,15 31,15 27,27 2,27' \
        "PNG32:open$suffix.png"
    convert $grid \
        -fill '#2f5fa8' -stroke '#173463' -strokewidth 1 \
        -draw 'roundrectangle 3,3 28,28 3,3' \
        -fill '#e8eef8' -stroke none -draw 'rectangle 8,4 23,13' \
        -fill '#173463' -draw 'rectangle 18,5 21,11' \
        -fill '#c9d3e3' -draw 'rectangle 8,18 23,27' \
        "PNG32:save$suffix.png"
    convert $grid \
        -fill '#ffffff' -stroke '#555555' -strokewidth 1 -draw 'rectangle 9,3 23,14' \
        -fill '#9a9a9a' -stroke '#444444' -draw 'roundrectangle 2,12 29,24 2,2' \
        -fill '#ffffff' -stroke '#555555' -draw 'rectangle 8,20 24,29' \
        -stroke '#7a7a7a' -draw 'line 11,23 21,23' -draw 'line 11,26 19,26' \
        -fill '#3cb043' -stroke none -draw 'circle 25,16 26,16' \
        "PNG32:fileprint$suffix.png"
    convert $grid \
        -fill '#c62828' -stroke '#7f1010' -strokewidth 1 \
        -draw 'polygon 10,2 22,2 30,10 30,22 22,30 10,30 2,22 2,10' \
        -stroke '#ffffff' -strokewidth 4 -draw 'line 10,10 22,22' -draw 'line 22,10 10,22' \
        -colors 16 "PNG8:stop$suffix.png"
done
