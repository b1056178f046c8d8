#!/usr/bin/env bash
# Whole-process times of reading a full 50x50 map: `zdmtool check` beside the pugixml + strtod
# comparison reader and a plain `cat`, in one hyperfine run so all see the same machine state.
# Usage: bench/compare_readers.sh [BUILD_DIR]   (a Release build with -DZANDREL_BUILD_BENCH=ON)
set -euo pipefail

build=${1:-build/release}
for tool in hyperfine "$build/src/cli/zdmtool" "$build/bench/write_full_map"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
map=$(mktemp --suffix=.zdm)
trap 'rm -f "$map"' EXIT
"$build/bench/write_full_map" "$map"

commands=("$build/src/cli/zdmtool check $map")
if [ -x "$build/bench/read_map_pugixml" ]; then
    commands+=("$build/bench/read_map_pugixml $map")
else
    echo "read_map_pugixml not built (install libpugixml-dev and reconfigure)" >&2
fi
commands+=("cat $map")
hyperfine -N --warmup 5 --runs "${RUNS:-50}" "${commands[@]}"
