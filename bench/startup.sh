#!/bin/sh
# Start-up to the first frame: the editor opening a map against a bare Qt program showing one
# QOpenGLWidget. Needs hyperfine and a display (xvfb-run -a -s "-screen 0 1280x1024x24" ...).
# Usage: bench/startup.sh <build dir> <map file>
set -eu
build=${1:?build directory}
map=${2:?map file}
ZANDREL_QUIT_AFTER_FIRST_FRAME=1
export ZANDREL_QUIT_AFTER_FIRST_FRAME
hyperfine --warmup 3 --runs 20 \
    "$build/bench/bare_gl_startup" \
    "$build/src/app/zandrelEditor '$map'"
