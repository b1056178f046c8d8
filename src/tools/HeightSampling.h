#pragma once

#include "map/MapGrid.h"

namespace zandrel::tools {

// Height reported for every position off the map; low enough that the camera never hides below
// it and that off-map probes never block a line of sight over real terrain.
inline constexpr double OUTSIDE_HEIGHT = -200.0;

// The terrain surface inside cell (i, j) is four triangles around the centre C. Positions are
// continuous: x picks the first cell index, z the second, each truncated toward zero.

// Height of the surface at (x, z), blended radially between the centre and the edge of the
// triangle holding the point (not barycentric: the middle of an edge is pulled toward C).
// OUTSIDE_HEIGHT off the map.
double sampleHeight(const map::MapGrid& grid, double x, double z);

// Sets the cell vertex (a corner or the centre) nearest to (x, z) to h. Setting a corner
// re-derives C as the middle of the lowest and highest corner; setting C leaves the corners.
// Positions off the map are ignored, except that -1 < x < 0 (or z) truncates to index 0 and is
// accepted with a negative fraction, which the weld steps of the tools rely on never reaching.
void setNearestVertex(map::MapGrid& grid, double x, double z, double h);

// Whether the segment from a to b stays on or above the terrain: samples it once per unit of
// horizontal length, each with four side probes whose offset shrinks from one unit at a to none
// at b. A segment too long to sample (or not finite) counts as blocked.
bool lineOfSightClear(const map::MapGrid& grid, float ax, float ay, float az, float bx, float by,
                      float bz);

}  // namespace zandrel::tools
