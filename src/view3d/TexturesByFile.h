#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zandrel::view3d {

// Texture names by the file they were loaded from. A map's slots, its start and wall areas and
// its enemy markers often name one file (the wall slot is usually "wall.jpg" itself): it is
// decoded once and its texture shared, which draws the same, as every bind sets the drawing
// parameters again. Owns no GL object; the holder deletes Names().
class TexturesByFile {
public:
    // The texture of fileName, from load(fileName) the first time it is asked for. A failed
    // load (0) is remembered as well.
    template <typename Load>
    std::uint32_t Get(const std::string& fileName, Load&& load) {
        const auto known = names_.find(fileName);
        if (known != names_.end()) {
            return known->second;
        }
        return names_.emplace(fileName, std::forward<Load>(load)(fileName)).first->second;
    }

    // Each texture once, failed loads left out.
    std::vector<std::uint32_t> Names() const {
        std::vector<std::uint32_t> names;
        for (const auto& [fileName, name] : names_) {
            if (name != 0) {
                names.push_back(name);
            }
        }
        return names;
    }

private:
    std::map<std::string, std::uint32_t> names_;
};

}  // namespace zandrel::view3d
