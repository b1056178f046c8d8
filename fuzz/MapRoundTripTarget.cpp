// Fuzz target: whatever the reader accepts must survive a save and a reopen unchanged. Parses
// the input, loads it into a fresh grid, writes that grid, then parses and loads the written
// text again; the second grid must write the very same text. Aborts on any difference.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/MapParser.h"
#include "mapfile/MapWriter.h"

namespace {

using zandrel::map::MapGrid;
namespace mapfile = zandrel::mapfile;

constexpr mapfile::ParseOptions kQuiet{nullptr, nullptr};

[[noreturn]] void Fail(const char* what, const std::string& written) {
    std::fprintf(stderr, "map round trip: %s; written text (%zu bytes):\n%s\n", what,
                 written.size(), written.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    mapfile::ParseResult first = mapfile::ParseMapText(input, kQuiet);
    if (!first.ok()) {
        return 0;
    }
    const auto loaded = std::make_unique<MapGrid>();
    if (!mapfile::LoadFromTable(*loaded, *first.root)) {
        return 0;
    }
    const std::string written = mapfile::FormatMap(*loaded);

    mapfile::ParseResult second = mapfile::ParseMapText(written, kQuiet);
    if (!second.ok()) {
        Fail("the written map does not parse", written);
    }
    const auto reloaded = std::make_unique<MapGrid>();
    if (!mapfile::LoadFromTable(*reloaded, *second.root)) {
        Fail("the written map does not load", written);
    }
    if (mapfile::FormatMap(*reloaded) != written) {
        Fail("the reopened map differs", written);
    }
    return 0;
}
