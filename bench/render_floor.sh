#!/bin/sh
# A thumbnail as a file manager makes it, whole process, against its floor: zdmtool render of a
# full 50x50 map at 256 x 256 beside bare_thumbnail (the same off-screen context, the same
# texture files uploaded with mipmaps, one quad, a PNG), in alternating rounds (paired.sh).
# No display is used. Needs hyperfine:
#   bench/render_floor.sh build/release [SIDE]
set -eu
here=$(dirname "$(realpath "$0")")
build=$(realpath "${1:?build directory}")
side=${2:-256}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$here/../assets/"* "$folder/"
cd "$folder"
unset DISPLAY WAYLAND_DISPLAY
"$build/src/cli/zdmtool" new full.zdm
textures=$(sed -n 's/^ *Tex_[0-9]*="\([^"]*\)".*/\1/p' full.zdm | tr '\n' ' ')
"$here/paired.sh" "$build/src/cli/zdmtool render --size $side --camera iso full.zdm map.png" \
    "$build/bench/bare_thumbnail $side floor.png $textures"
