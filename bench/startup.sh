#!/bin/sh
# Start-up to the first frame: the editor opening a map against a bare Qt program showing one
# QOpenGLWidget, both leaving at their first frame. Needs hyperfine and a display:
#   xvfb-run -a -s "-screen 0 1280x1024x24" bench/startup.sh build/rel tests/mapfile/data/new_map.zdm
# Runs in assets/, where the map's texture names resolve.
set -eu
build=$(realpath "${1:?build directory}")
map=$(realpath "${2:?map file}")
cd "$(dirname "$0")/../assets"
ZANDREL_QUIT_AFTER_FIRST_FRAME=1
export ZANDREL_QUIT_AFTER_FIRST_FRAME
hyperfine -N --warmup 3 --runs 20 \
    "$build/bench/bare_gl_startup" \
    "$build/src/app/zandrelEditor $map"
