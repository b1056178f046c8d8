#!/bin/sh
# Start-up to the first frame: the editor opening a map against a bare Qt main window with the
# same menus, toolbar and status bar around one native GL window drawing a textured quad, both
# leaving at their first frame, in alternating rounds (paired.sh). Needs hyperfine and a display:
#   xvfb-run -a -s "-screen 0 1280x1024x24" bench/startup.sh build/rel tests/mapfile/data/new_map.zdm
# Runs in assets/, where the map's texture names resolve.
set -eu
here=$(dirname "$(realpath "$0")")
build=$(realpath "${1:?build directory}")
map=$(realpath "${2:?map file}")
cd "$here/../assets"
ZANDREL_QUIT_AFTER_FIRST_FRAME=1
export ZANDREL_QUIT_AFTER_FIRST_FRAME
"$here/paired.sh" "$build/src/app/zandrelEditor $map" "$build/bench/bare_gl_startup"
