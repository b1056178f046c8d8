#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view3d/TexturesByFile.h"

namespace {

using zandrel::view3d::TexturesByFile;

// Each file is loaded once however often it is named, a failed load included, and the names
// to delete are each texture once, without the failures.
TEST(TexturesByFile, LoadsEachFileOnce) {
    TexturesByFile textures;
    std::vector<std::string> loads;
    const auto load = [&loads](const std::string& file) {
        loads.push_back(file);
        return file == "missing.jpg" ? 0u : static_cast<std::uint32_t>(loads.size());
    };
    const std::vector<std::uint32_t> got = {
        textures.Get("tile.jpg", load),    textures.Get("wall.jpg", load),
        textures.Get("missing.jpg", load), textures.Get("wall.jpg", load),
        textures.Get("missing.jpg", load), textures.Get("tile.jpg", load)};
    EXPECT_EQ(got, (std::vector<std::uint32_t>{1, 2, 0, 2, 0, 1}));
    EXPECT_EQ(loads, (std::vector<std::string>{"tile.jpg", "wall.jpg", "missing.jpg"}));
    EXPECT_EQ(textures.Names(), (std::vector<std::uint32_t>{1, 2}));
}

}  // namespace
