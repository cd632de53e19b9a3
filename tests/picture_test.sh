#!/usr/bin/env bash
# The picture target draws memspec.png in TREE: a whole PNG (signature,
# 1000 x 1150 pixels, IEND last) from nothing and again over an old one. A
# gnuplot that fails, or that leaves half a picture and exits 0, fails the
# draw and leaves the old picture as it was. Skipped (77)
# without gnuplot.
# usage: picture_test.sh CMAKE TREE [GNUPLOT]
set -euo pipefail
cmake=$1 tree=$2 gnuplot=${3:-}
[[ -n $gnuplot ]] || { echo "gnuplot is missing; skipped"; exit 77; }
png=$tree/memspec.png
whole() {
    local head
    head=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
    [[ $head == 89504e470d0a1a0a0000000d49484452000003e80000047e ]] || { echo "not the PNG: $head"; exit 1; }
    [[ $(tail -c 12 "$png" | od -An -tx1 | tr -d ' \n') == 0000000049454e44ae426082 ]] ||
        { echo "the PNG does not end"; exit 1; }
}
rm -f "$png"
"$cmake" --build "$tree" --target picture >/dev/null
whole
touch -d @0 "$png"
"$cmake" --build "$tree" --target picture >/dev/null
whole
cp "$png" "$tree/picture_test.png"
for fake in 'exit 1' 'head -c 100 memspec.png.new.keep >memspec.png.new'; do
    printf '#!/bin/sh\ncp "%s" memspec.png.new.keep\n%s\n' "$png" "$fake" >"$tree/fake-gnuplot"
    chmod +x "$tree/fake-gnuplot"
    if "$cmake" -DMEMSPEC="$tree/memspec" -DVALUES="$tree/values" -DGNUPLOT="$tree/fake-gnuplot" \
        -DCR=0 -DTOOLS="$(dirname "$0")/../tools" -DOUT="$png" -P "$(dirname "$0")/../tools/picture.cmake" \
        >"$tree/picture_test.log" 2>&1; then
        echo "a gnuplot that does '$fake' passed"; exit 1
    fi
    cmp "$png" "$tree/picture_test.png"
done
rm -f "$tree/fake-gnuplot" "$tree/picture_test.png" "$tree/picture_test.log"
echo "memspec.png: whole, and kept when gnuplot fails"
