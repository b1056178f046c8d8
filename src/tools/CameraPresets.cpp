#include "tools/CameraPresets.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "map/MapGrid.h"

namespace zandrel::tools {

namespace {

// Lowest and highest corner or centre of the cells in use; 0 and 0 for a map without any.
struct HeightSpan {
    double low = 0.0;
    double high = 0.0;
};

HeightSpan SpanOf(const map::MapGrid& grid) {
    bool any = false;
    HeightSpan span;
    const std::int32_t sizeX = std::clamp(grid.SizeX, 0, map::kMaxMapSize);
    const std::int32_t sizeZ = std::clamp(grid.SizeZ, 0, map::kMaxMapSize);
    for (std::int32_t x = 0; x < sizeX; ++x) {
        for (std::int32_t z = 0; z < sizeZ; ++z) {
            const map::MapCell& cell = grid.Cell(x, z);
            for (const double h : {cell.NE, cell.NO, cell.SE, cell.SO, cell.C}) {
                if (!std::isfinite(h)) {
                    continue;
                }
                span.low = any ? std::min(span.low, h) : h;
                span.high = any ? std::max(span.high, h) : h;
                any = true;
            }
        }
    }
    return span;
}

constexpr double kMargin = 1.05;  // a little ground around the map

}  // namespace

std::optional<CameraPreset> CameraPresetNamed(std::string_view name) {
    if (name == "start") {
        return CameraPreset::Start;
    }
    if (name == "top") {
        return CameraPreset::Top;
    }
    if (name == "iso") {
        return CameraPreset::Iso;
    }
    return std::nullopt;
}

Camera PresetCamera(const map::MapGrid& grid, CameraPreset preset, double aspect,
                    double fovDegrees) {
    Camera camera;
    if (preset == CameraPreset::Start) {
        return camera;
    }
    const double sizeX = std::clamp(grid.SizeX, 0, map::kMaxMapSize);
    const double sizeZ = std::clamp(grid.SizeZ, 0, map::kMaxMapSize);
    const HeightSpan span = SpanOf(grid);
    const double halfFov = fovDegrees * std::numbers::pi / 360.0;
    const double tanV = std::tan(halfFov);
    const double tanH = tanV * (aspect > 0.0 ? aspect : 1.0);
    const double cx = sizeX / 2.0;
    const double cz = sizeZ / 2.0;

    if (preset == CameraPreset::Top) {
        // The highest ground fills the frame; lower ground shows a little smaller.
        const double distance = std::max({sizeZ / 2.0 / tanV, sizeX / 2.0 / tanH, 1.0}) * kMargin;
        camera.Set(static_cast<float>(cx), static_cast<float>(span.high + distance),
                   static_cast<float>(cz), static_cast<float>(cx), static_cast<float>(span.low),
                   static_cast<float>(cz), 0.0f, 0.0f, -1.0f);
        return camera;
    }
    // Iso: the sphere around the map's box fits the narrower of the two fields.
    const double cy = (span.low + span.high) / 2.0;
    const double relief = span.high - span.low;
    const double radius = 0.5 * std::sqrt(sizeX * sizeX + sizeZ * sizeZ + relief * relief);
    const double halfNarrow = std::atan(std::min(tanV, tanH));
    const double distance = std::max(radius / std::sin(halfNarrow), 1.0) * kMargin;
    const double step = distance / std::sqrt(3.0);
    camera.Set(static_cast<float>(cx - step), static_cast<float>(cy + step),
               static_cast<float>(cz - step), static_cast<float>(cx), static_cast<float>(cy),
               static_cast<float>(cz), 0.0f, 1.0f, 0.0f);
    return camera;
}

}  // namespace zandrel::tools
