// The comparison reader as a program of its own, for whole-process timings beside
// `zdmtool check` (bench/compare_readers.sh).
#include <cstdio>
#include <memory>

#include "PugixmlMapReader.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_map_pugixml FILE.zdm\n");
        return 2;
    }
    const auto grid = std::make_unique<zandrel::map::MapGrid>();
    if (!zandrel::bench::ReadMapWithPugixml(argv[1], *grid)) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
        return 1;
    }
    return 0;
}
