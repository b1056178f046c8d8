#include "tools/TextureArchive.h"

#include <algorithm>
#include <string_view>
#include <system_error>

namespace zandrel::tools {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The list's sort order: letters compare without case; names equal but for case keep a fixed
// order by their bytes, so the result never depends on the directory's order.
bool SortsBefore(const std::string& a, const std::string& b) {
    const auto lowerLess = [](char x, char y) {
        return static_cast<unsigned char>(LowerAscii(x)) <
               static_cast<unsigned char>(LowerAscii(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerLess)) {
        return false;
    }
    return a < b;
}

bool StartsWithIgnoringCase(std::string_view name, std::string_view prefix) {
    return name.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), name.begin(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// "*.jpg" as a shell pattern matches it: a name ending in ".jpg" that is not hidden.
bool MatchesImagePattern(std::string_view name) {
    return name.ends_with(".jpg") && !name.starts_with('.');
}

// Longer names do not fit a texture slot, and the map file quotes names with double quotes.
bool StorableInMap(std::string_view name) {
    return name.size() <= map::TextureName::kMaxLength &&
           name.find_first_of(std::string_view("\"\0", 2)) == std::string_view::npos;
}

// One entry starting with prefix, searched from the second entry on and wrapping round to the
// first, is taken out of the list.
void RemoveOneStartingWith(std::vector<std::string>& list, std::string_view prefix) {
    const std::size_t count = list.size();
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = (step + 1) % count;
        if (StartsWithIgnoringCase(list[index], prefix)) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
            return;
        }
    }
}

}  // namespace

std::vector<std::string> BuildTextureList(const std::vector<std::string>& fileNames) {
    std::vector<std::string> list;
    for (const std::string& name : fileNames) {
        if (MatchesImagePattern(name) && StorableInMap(name)) {
            list.push_back(name);
        }
    }
    std::sort(list.begin(), list.end(), SortsBefore);
    for (const char* fixed : kFixedTextureNames) {
        RemoveOneStartingWith(list, fixed);
    }
    list.insert(list.begin(), std::begin(kFixedTextureNames), std::end(kFixedTextureNames));
    if (list.size() > static_cast<std::size_t>(map::kMaxTextureSlots)) {
        list.resize(map::kMaxTextureSlots);
    }
    return list;
}

void StoreTextureList(map::MapGrid& map, const std::vector<std::string>& list) {
    const std::size_t count =
        std::min(list.size(), static_cast<std::size_t>(map::kMaxTextureSlots));
    for (std::size_t i = 0; i < count; ++i) {
        map.textures[i].Assign(list[i]);
    }
    map.numtex = static_cast<std::int32_t>(count);
}

std::vector<std::string> TextureTableList(const map::MapGrid& map) {
    const std::int32_t count = std::clamp(map.numtex, 0, map::kMaxTextureSlots);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        names.emplace_back(map.textures[static_cast<std::size_t>(i)].View());
    }
    return names;
}

std::vector<std::string> AdoptTextureTable(map::MapGrid& map) {
    std::vector<std::string> list = TextureTableList(map);
    StoreTextureList(map, list);
    return list;
}

std::vector<std::string> RefreshTextureArchive(map::MapGrid& map,
                                               const std::vector<std::string>& fileNames) {
    std::vector<std::string> list = BuildTextureList(fileNames);
    StoreTextureList(map, list);
    return list;
}

Status ListDirectoryFiles(const std::filesystem::path& directory, std::vector<std::string>& names) {
    std::error_code error;
    std::filesystem::directory_iterator entries(directory, error);
    if (error) {
        return Status::Failure("cannot list " + directory.string() + ": " + error.message());
    }
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::error_code typeError;
        if (entries->is_regular_file(typeError)) {
            names.push_back(entries->path().filename().string());
        }
    }
    if (error) {
        return Status::Failure("cannot list " + directory.string() + ": " + error.message());
    }
    return Status::Ok();
}

}  // namespace zandrel::tools
