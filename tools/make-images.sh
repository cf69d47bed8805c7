#!/bin/sh
# Draws the program icon ("a file losing its header") at 16, 32, 48 and 64 pixels, 256 colours each, as
# PNGs and one .ico, and the About window's 72 x 40 picture as a JPEG. Needs ImageMagick.
#   usage: tools/make-images.sh   (writes into about/images/)
set -eu
out="$(dirname "$0")/../about/images"
mkdir -p "$out"

# All coordinates are for 64 pixels and scaled to each size.
icon() {
    n=$1
    s=$(awk "BEGIN { print $n / 64 }")
    p() { awk -v s="$s" -v list="$1" 'BEGIN { n = split(list, v, " "); for (i = 1; i <= n; i++) { split(v[i], xy, ","); printf "%s%.2f,%.2f", (i > 1 ? " " : ""), xy[1] * s, xy[2] * s } }'; }
    w=$(awk "BEGIN { w = 2 * $s; print (w < 1 ? 1 : w) }")
    convert -size "${n}x${n}" xc:none \
        -stroke '#2b3a55' -strokewidth "$w" -fill white \
        -draw "polygon $(p '12,24 40,24 52,36 52,60 12,60')" \
        -fill '#d6dde8' -draw "polygon $(p '40,24 40,36 52,36')" \
        -stroke '#7a8599' -strokewidth "$(awk "BEGIN { w = $s * 1.5; print (w < 1 ? 1 : w) }")" \
        -draw "line $(p '18,42 46,42')" -draw "line $(p '18,48 46,48')" -draw "line $(p '18,54 38,54')" \
        -stroke '#2b3a55' -strokewidth "$w" -fill '#e8642c' \
        -draw "polygon $(p '8,6 44,2 46,14 10,18')" \
        -stroke '#c0392b' -strokewidth "$w" -fill none \
        -draw "line $(p '4,21 22,20')" -draw "line $(p '28,20 44,19')" -draw "line $(p '50,19 60,18')" \
        -colors 256 "PNG8:$out/tovrik-$n.png"
}

for n in 16 32 48 64; do icon $n; done
convert "$out/tovrik-16.png" "$out/tovrik-32.png" "$out/tovrik-48.png" "$out/tovrik-64.png" \
    -colors 256 "$out/tovrik.ico"

# The About window's picture: a header strip cut off a row of pages.
convert -size 72x40 gradient:'#f4f1e8'-'#dfe6f0' \
    -stroke '#2b3a55' -strokewidth 1 -fill white \
    -draw 'rectangle 6,14 24,36' -draw 'rectangle 28,14 46,36' -draw 'rectangle 50,14 68,36' \
    -fill '#e8642c' -draw 'rectangle 4,4 26,9' -draw 'rectangle 27,3 49,8' -draw 'rectangle 50,4 72,9' \
    -stroke '#c0392b' -draw 'line 0,11 72,11' \
    -quality 90 "$out/picture.jpg"
