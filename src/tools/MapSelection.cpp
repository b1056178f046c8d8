#include "tools/MapSelection.h"

#include <algorithm>

#include "tools/HeightSampling.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {

namespace {

using map::MapGrid;

// Loop ranges are clamped a little beyond the storage. Positions further out touch no cell
// (setNearestVertex ignores them, and the -1..0 band it accepts is still inside the range),
// so a corrupt rectangle cannot run unbounded loops while an in-range one is unaffected.
constexpr std::int64_t kReachLow = -2;
constexpr std::int64_t kReachHigh = map::kMaxMapSize + 1;

struct Range {
    std::int32_t first;
    std::int32_t last;  // inclusive; the range is empty when last < first
};

// first..last cut to low..high; an empty range stays empty.
Range Clip(std::int64_t first, std::int64_t last, std::int64_t low, std::int64_t high) {
    return {static_cast<std::int32_t>(std::clamp(first, low, high + 1)),
            static_cast<std::int32_t>(std::clamp(last, low - 1, high))};
}

Range Reach(std::int64_t first, std::int64_t last) {
    return Clip(first, last, kReachLow, kReachHigh);
}

// Positions 0.1 inside each corner always pick that corner, so these steps set exactly the
// vertex copies they name; a corner change re-derives the cell's centre.
void CellFlat(MapGrid& map, std::int32_t x, std::int32_t z, double h) {
    const double cx = x;
    const double cz = z;
    setNearestVertex(map, cx + 0.1, cz + 0.1, h);
    setNearestVertex(map, cx + 0.9, cz + 0.1, h);
    setNearestVertex(map, cx + 0.1, cz + 0.9, h);
    setNearestVertex(map, cx + 0.9, cz + 0.9, h);
}

// The boundary between cells (x - 1, z) and (x, z): NO and SO of the left, NE and SE of the right.
void WeldSeamAcrossX(MapGrid& map, std::int32_t x, std::int32_t z, double h) {
    const double cx = x;
    const double cz = z;
    setNearestVertex(map, cx - 0.1, cz + 0.1, h);
    setNearestVertex(map, cx - 0.1, cz + 0.9, h);
    setNearestVertex(map, cx + 0.1, cz + 0.1, h);
    setNearestVertex(map, cx + 0.1, cz + 0.9, h);
}

// The boundary between cells (x, z - 1) and (x, z): SO and SE of the lower, NO and NE of the upper.
void WeldSeamAcrossZ(MapGrid& map, std::int32_t x, std::int32_t z, double h) {
    const double cx = x;
    const double cz = z;
    setNearestVertex(map, cx + 0.9, cz - 0.1, h);
    setNearestVertex(map, cx + 0.9, cz + 0.1, h);
    setNearestVertex(map, cx + 0.1, cz - 0.1, h);
    setNearestVertex(map, cx + 0.1, cz + 0.1, h);
}

// The vertex (x, z) shared by the four cells around it.
void WeldVertex(MapGrid& map, std::int32_t x, std::int32_t z, double h) {
    const double cx = x;
    const double cz = z;
    setNearestVertex(map, cx + 0.1, cz + 0.1, h);
    setNearestVertex(map, cx - 0.1, cz - 0.1, h);
    setNearestVertex(map, cx + 0.1, cz - 0.1, h);
    setNearestVertex(map, cx - 0.1, cz + 0.1, h);
}

}  // namespace

void MapSelection::setFromHits(std::int32_t a, std::int32_t b) {
    const std::int32_t xa = a % 100;
    const std::int32_t za = a / 100;
    const std::int32_t xb = b % 100;
    const std::int32_t zb = b / 100;
    Set(std::min(xa, xb), std::min(za, zb), std::max(xa, xb), std::max(za, zb));
    undoSaved = false;
}

bool MapSelection::isSquare() const {
    return std::int64_t{x0} - x1 == std::int64_t{z0} - z1;
}

void MapSelection::applyTool(MapGrid& map, MapGrid& undo, std::int32_t mode, double v) {
    if (!undoSaved) {
        undoSaved = true;
        map.SaveTo(undo);
    }
    switch (mode) {
        case TOOL_LEVEL:
            levelCells(map, v * 0.1);
            tilt(map, 0.0);
            weldVertices(map, 0.0);
            break;
        case TOOL_LANDSLIDE:
            weldVertices(map, v * 0.1);
            break;
        case TOOL_TILT:
            if (!isSquare()) {
                tilt(map, v * 0.01);
                weldVertices(map, 0.0);
            }
            break;
        case TOOL_FLATTEN: {
            // The middle cell's NE corner, found by integer division of the corners.
            const auto mx = static_cast<double>((std::int64_t{x0} + x1) / 2);
            const auto mz = static_cast<double>((std::int64_t{z0} + z1) / 2);
            flattenTo(map, sampleHeight(map, mx, mz) + v);
            break;
        }
        case TOOL_PYRAMID:
            if (isSquare()) {
                const auto divisor = static_cast<double>((std::int64_t{x1} - x0) * 10 + 1);
                pyramid(map, v / divisor);
                weldVertices(map, 0.0);
            }
            break;
        case TOOL_RAISE:
            raiseCells(map, v);
            break;
        case TOOL_SET_HEIGHT:
            setCells(map, v);
            break;
        default:
            break;
    }
}

void MapSelection::flattenTo(MapGrid& map, double h) const {
    const Range xs = Reach(x0, x1);
    const Range zs = Reach(z0, z1);
    for (std::int32_t z = zs.first; z <= zs.last; ++z) {
        for (std::int32_t x = xs.first; x <= xs.last; ++x) {
            CellFlat(map, x, z, h);
        }
    }
}

void MapSelection::raiseCells(MapGrid& map, double dh) const {
    ForEachStoredCell([&](std::int32_t x, std::int32_t z) { map.RaiseCell(x, z, dh); });
}

void MapSelection::setCells(MapGrid& map, double h) const {
    ForEachStoredCell([&](std::int32_t x, std::int32_t z) { map.SetCellHeight(x, z, h); });
}

void MapSelection::levelCells(MapGrid& map, double d) const {
    const Range xs = Reach(x0, x1);
    const Range zs = Reach(z0, z1);
    for (std::int32_t z = zs.first; z <= zs.last; ++z) {
        for (std::int32_t x = xs.first; x <= xs.last; ++x) {
            const double h = sampleHeight(map, x + 0.5, z + 0.5) + d;
            CellFlat(map, x, z, h);
        }
    }
}

void MapSelection::weldVertices(MapGrid& map, double d) const {
    if (x0 == x1 && z0 == z1) {
        const double cx = x0 + 0.5;
        const double cz = z0 + 0.5;
        setNearestVertex(map, cx, cz, sampleHeight(map, cx, cz) + d);
        return;
    }
    const Range xs = Reach(std::int64_t{x0} + 1, x1);
    const Range zs = Reach(std::int64_t{z0} + 1, z1);
    if (z0 == z1) {
        for (std::int32_t x = xs.first; x <= xs.last; ++x) {
            WeldSeamAcrossX(map, x, z0, sampleHeight(map, x, z0) + d);
        }
        return;
    }
    if (x0 == x1) {
        for (std::int32_t z = zs.first; z <= zs.last; ++z) {
            WeldSeamAcrossZ(map, x0, z, sampleHeight(map, x0, z) + d);
        }
        return;
    }
    for (std::int32_t z = zs.first; z <= zs.last; ++z) {
        for (std::int32_t x = xs.first; x <= xs.last; ++x) {
            WeldVertex(map, x, z, sampleHeight(map, x, z) + d);
        }
    }
}

void MapSelection::tilt(MapGrid& map, double d) const {
    const double first = sampleHeight(map, x0, z0);
    const double last = sampleHeight(map, x1, z1);
    const bool alongX = std::int64_t{x1} - x0 > std::int64_t{z1} - z0;
    // Steps of cell (x, z) from the first and from the last cell along the tilt axis.
    const auto fromFirst = [&](std::int32_t x, std::int32_t z) {
        return static_cast<double>(alongX ? std::int64_t{x} - x0 : std::int64_t{z} - z0);
    };
    const auto fromLast = [&](std::int32_t x, std::int32_t z) {
        return static_cast<double>(alongX ? std::int64_t{x1} - x : std::int64_t{z1} - z);
    };
    const Range xs = Reach(x0, x1);
    const Range zs = Reach(z0, z1);
    const auto forward = [&](auto&& step) {
        for (std::int32_t z = zs.first; z <= zs.last; ++z) {
            for (std::int32_t x = xs.first; x <= xs.last; ++x) {
                step(x, z, sampleHeight(map, x, z));
            }
        }
    };
    const auto backward = [&](auto&& step) {
        for (std::int32_t z = zs.last; z >= zs.first; --z) {
            for (std::int32_t x = xs.last; x >= xs.first; --x) {
                step(x, z, sampleHeight(map, x, z));
            }
        }
    };

    if (first == last) {
        // Level ends: only raising, so d > 0 lifts away from the first cell and d < 0 away
        // from the last one.
        forward([&](std::int32_t x, std::int32_t z, double h) {
            const double t = h + d * fromFirst(x, z);
            if (t > h) {
                CellFlat(map, x, z, t);
            }
        });
        backward([&](std::int32_t x, std::int32_t z, double h) {
            const double t = h - d * fromLast(x, z);
            if (t > h) {
                CellFlat(map, x, z, t);
            }
        });
    } else if (first < last) {
        forward([&](std::int32_t x, std::int32_t z, double h) {
            CellFlat(map, x, z, h + d * fromFirst(x, z));
        });
    } else {
        backward([&](std::int32_t x, std::int32_t z, double h) {
            CellFlat(map, x, z, h - d * fromLast(x, z));
        });
    }

    const Range seamXs = Reach(std::int64_t{x0} + 1, x1);
    const Range seamZs = Reach(std::int64_t{z0} + 1, z1);
    for (std::int32_t x = seamXs.first; x <= seamXs.last; ++x) {
        WeldSeamAcrossX(map, x, z1, sampleHeight(map, x, z1));
    }
    for (std::int32_t x = seamXs.first; x <= seamXs.last; ++x) {
        WeldSeamAcrossX(map, x, z0, sampleHeight(map, x, z0));
    }
    for (std::int32_t z = seamZs.first; z <= seamZs.last; ++z) {
        WeldSeamAcrossZ(map, x1, z, sampleHeight(map, x1, z));
    }
    for (std::int32_t z = seamZs.first; z <= seamZs.last; ++z) {
        WeldSeamAcrossZ(map, x0, z, sampleHeight(map, x0, z));
    }
}

void MapSelection::pyramid(MapGrid& map, double s) const {
    // Each ring lifts its inside once more; the rings shrink until the inner block is empty.
    // No selection of a real map has more rings than the largest map; a corrupt one larger than
    // any map stops there instead of running for billions of rings.
    MapSelection ring(x0, z0, x1, z1);
    for (std::int32_t rings = 0; rings <= map::kMaxMapSize; ++rings) {
        ring.weldVertices(map, s);
        if (ring.x0 > ring.x1) {
            break;
        }
        // Rings that have moved wholly past the storage can change nothing any more.
        if (ring.x0 >= kReachHigh || ring.z0 >= kReachHigh || ring.x1 <= kReachLow ||
            ring.z1 <= kReachLow) {
            break;
        }
        ring.Set(ring.x0 + 1, ring.z0 + 1, ring.x1 - 1, ring.z1 - 1);
    }
}

}  // namespace zandrel::tools
