#include "view3d/MapOverlays.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "map/MapGrid.h"
#include "tools/Camera.h"
#include "tools/ContourLines.h"

namespace zandrel::view3d {

namespace {

// Black at half strength darkens every texture visibly without hiding it.
constexpr float kGridColour[4] = {0.0f, 0.0f, 0.0f, 0.5f};
constexpr float kContourColour[4] = {0.45f, 0.05f, 0.0f, 0.75f};
constexpr float kIndexContourColour[4] = {0.3f, 0.0f, 0.0f, 1.0f};

void Line(double x0, double y0, double z0, double x1, double y1, double z1) {
    glVertex3d(x0, y0, z0);
    glVertex3d(x1, y1, z1);
}

void DrawGridRow(const map::MapGrid& grid, std::int32_t z, std::int32_t sizeX, std::int32_t sizeZ) {
    glColor4fv(kGridColour);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    const double fz = z;
    for (std::int32_t x = 0; x < sizeX; ++x) {
        const map::MapCell& cell = grid.Cell(x, z);
        const double fx = x;
        Line(fx, cell.NE, fz, fx + 1.0, cell.NO, fz);
        Line(fx, cell.NE, fz, fx, cell.SE, fz + 1.0);
        // The south and west edges belong to the neighbour, unless a wall parts them.
        if (z + 1 >= sizeZ || cell.SE != grid.Cell(x, z + 1).NE ||
            cell.SO != grid.Cell(x, z + 1).NO) {
            Line(fx, cell.SE, fz + 1.0, fx + 1.0, cell.SO, fz + 1.0);
        }
        if (x + 1 >= sizeX || cell.NO != grid.Cell(x + 1, z).NE ||
            cell.SO != grid.Cell(x + 1, z).SE) {
            Line(fx + 1.0, cell.NO, fz, fx + 1.0, cell.SO, fz + 1.0);
        }
    }
    glEnd();
}

void DrawContourRow(const map::MapGrid& grid, std::int32_t z, std::int32_t sizeX) {
    std::vector<tools::ContourSegment> segments;
    for (std::int32_t x = 0; x < sizeX; ++x) {
        tools::AppendCellContours(grid, x, z, segments);
    }
    for (const bool index : {false, true}) {
        glColor4fv(index ? kIndexContourColour : kContourColour);
        glLineWidth(index ? 2.5f : 1.5f);
        glBegin(GL_LINES);
        for (const tools::ContourSegment& s : segments) {
            if (s.IsIndexLevel() == index) {
                Line(s.a[0], s.a[1], s.a[2], s.b[0], s.b[1], s.b[2]);
            }
        }
        glEnd();
    }
}

}  // namespace

void MapOverlays::Begin(const ViewModes& modes, const tools::Camera& camera) {
    if (!ChangesState(modes)) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_POLYGON_BIT);
    if (modes.grid || modes.contours) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 2.0f);
    }
    if (!modes.relief) {
        return;
    }
    // Towards the light: back from the target past the camera on the ground plane, and 45
    // degrees up. The map's normals lean half as far as its slopes, so a steeper light would
    // leave the two sides of a ridge nearly alike; this one keeps faces turned to the camera
    // bright and puts the far sides of ridges into shade. Looking straight down, it is overhead.
    const float backX = camera.eye[0] - camera.target[0];
    const float backZ = camera.eye[2] - camera.target[2];
    const float length = std::sqrt(backX * backX + backZ * backZ);
    float position[4] = {0.0f, 1.0f, 0.0f, 0.0f};
    if (length > 1.0e-6f && std::isfinite(length)) {
        position[0] = backX / length;
        position[2] = backZ / length;
    }
    const float none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const float ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    const float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glPopMatrix();
    // The map's normals are not unit length.
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
}

void MapOverlays::End(const ViewModes& modes) {
    if (ChangesState(modes)) {
        glPopAttrib();
    }
}

void MapOverlays::DrawRowLines(const map::MapGrid& grid, std::int32_t z, const ViewModes& modes) {
    if (!modes.grid && !modes.contours) {
        return;
    }
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT |
                 GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    if (modes.grid) {
        DrawGridRow(grid, z, sizeX, sizeZ);
    }
    if (modes.contours) {
        DrawContourRow(grid, z, sizeX);
    }
    glPopAttrib();
}

}  // namespace zandrel::view3d
