#include "view3d/MapPicker.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <vector>

#include "map/MapGrid.h"
#include "view3d/MapRenderer.h"
#include "view3d/PickWindow.h"

namespace zandrel::view3d {

namespace {

struct PickHit {
    double depth;
    std::uint32_t name;
};

}  // namespace

std::int32_t MapPicker::Pick(const map::MapGrid& grid, double x, double y, RenderMode renderMode,
                             const FrameTransform& frame) {
    if (!frame.valid) {
        return -1;
    }
    static_assert(sizeof(GLuint) == sizeof(std::uint32_t));
    glSelectBuffer(static_cast<GLsizei>(buffer_.size()), buffer_.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(~0u);

    GLint viewport[4];
    std::copy(frame.viewport.begin(), frame.viewport.end(), viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(x, viewport[3] - y, PICK_REGION, PICK_REGION, viewport);
    glMultMatrixd(frame.projection.data());

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Only the cells that can reach the pick square are replayed; skipping the others changes
    // no hit record, since a cell that leaves no hit writes none.
    const PickWindow window(frame, x, y, PICK_REGION);
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    for (std::int32_t z = 0; z < sizeZ; ++z) {
        for (std::int32_t cx = 0; cx < sizeX; ++cx) {
            if (!cellCulling_ || window.MayHit(grid, cx, z)) {
                MapRenderer::DrawCell(grid, cx, z, renderMode);
            }
        }
    }
    glPopMatrix();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    const GLint records = glRenderMode(GL_RENDER);
    if (records <= 0) {
        return -1;
    }
    // Every record is (name count, min depth, max depth, names...); the map pass keeps exactly
    // one name on the stack, but walk by the stored count all the same.
    std::vector<PickHit> hits;
    hits.reserve(static_cast<std::size_t>(records));
    std::size_t at = 0;
    for (GLint i = 0; i < records && at + 3 <= buffer_.size(); ++i) {
        const std::uint32_t nameCount = buffer_[at];
        if (nameCount >= 1 && at + 2 + nameCount < buffer_.size()) {
            const double depth = static_cast<double>(buffer_[at + 1]) / 4294967295.0;
            hits.push_back({depth, buffer_[at + 2 + nameCount]});
        }
        at += 3 + nameCount;
    }
    if (hits.empty()) {
        return -1;
    }
    std::sort(hits.begin(), hits.end(), [](const PickHit& a, const PickHit& b) {
        return a.depth != b.depth ? a.depth < b.depth : a.name < b.name;
    });
    return static_cast<std::int32_t>(hits.front().name);
}

}  // namespace zandrel::view3d
