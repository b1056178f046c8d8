// Writes the benchmarks' full 50x50 map to the file named on the command line, for the
// whole-process comparison of readers (bench/compare_readers.sh).
#include <cstdio>

#include "FullMap.h"
#include "mapfile/MapWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_full_map OUT.zdm\n");
        return 2;
    }
    const zandrel::Status saved =
        zandrel::mapfile::SaveMapFile(*zandrel::bench::FullMap(), argv[1]);
    if (!saved) {
        std::fprintf(stderr, "%s: %s\n", argv[1], saved.message().c_str());
        return 1;
    }
    return 0;
}
