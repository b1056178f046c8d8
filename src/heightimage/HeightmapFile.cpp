#include "heightimage/HeightmapFile.h"

#include <utility>

#include "heightimage/HeightPngReader.h"
#include "heightimage/HeightPngWriter.h"

namespace zandrel::heightimage {

Status ExportHeightmap(const map::MapGrid& grid, const std::filesystem::path& path,
                       tools::HeightRange& range) {
    const tools::HeightField field = tools::SampleHeightField(grid);
    HeightImage image;
    image.width = field.width;
    image.height = field.height;
    image.range = tools::RangeOf(field);
    image.levels = tools::LevelsOf(field, *image.range);
    if (Status written = WriteHeightPngFile(path, image); !written) {
        return written;
    }
    range = *image.range;
    return Status::Ok();
}

Status LoadHeightmap(const std::filesystem::path& path, std::optional<tools::HeightRange> range,
                     tools::HeightField& field, tools::HeightRange& used) {
    HeightImage image;
    if (Status read = ReadHeightPngFile(path, image); !read) {
        return read;
    }
    if (!range) {
        range = image.range;
    }
    if (!range) {
        return Status::Failure("stores no height range; give one with --min and --max");
    }
    field = tools::HeightsFromLevels(image.width, image.height, image.levels, *range);
    used = *range;
    return Status::Ok();
}

}  // namespace zandrel::heightimage
