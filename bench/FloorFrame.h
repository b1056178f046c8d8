#pragma once

// The floor for a frame of the map: the map's tiles and walls as the same triangles, with the
// same camera and textures, drawn the barest way GL 1.1 allows one texture after another: one
// begin and end per texture for the whole map, no colours, names, normals or caches. It draws
// in the view's own window and context, so both pay the same swap and the same pipeline.
#include <GL/gl.h>

#include <QOpenGLContext>
#include <QWindow>
#include <cstdint>
#include <map>
#include <vector>

#include "map/MapGrid.h"
#include "view3d/CzandrelEditorView.h"
#include "view3d/MapScene.h"
#include "view3d/PassGeometry.h"

namespace zandrel::bench {

class FloorFrame {
public:
    explicit FloorFrame(const map::MapGrid& grid) {
        using Geometry = view3d::PassGeometry;
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            for (std::int32_t x = 0; x < grid.SizeX; ++x) {
                const Geometry::TilePoints points = Geometry::Tile(grid, x, z);
                auto& tiles = batches_[Geometry::SlotTexture(grid, grid.Cell(x, z).typet)];
                for (const Geometry::FanVertex& fan : Geometry::kFan) {
                    const Geometry::Point& p = points[fan.corner];
                    tiles.push_back({fan.s, fan.t, p.x, p.y, p.z});
                }
                auto& walls = batches_[Geometry::SlotTexture(grid, grid.Cell(x, z).typew)];
                for (const Geometry::WallSide side : Geometry::kSides) {
                    if (!Geometry::ConsidersWall(grid, x, z, side)) {
                        continue;
                    }
                    const Geometry::Wall wall = Geometry::WallOn(grid, x, z, side);
                    if (wall.drawn) {
                        for (const std::size_t i : {0u, 1u, 2u, 0u, 2u, 3u}) {
                            const auto st = wall.TexCoord(i);
                            walls.push_back({st[0], st[1], wall.v[i].x, wall.v[i].y, wall.v[i].z});
                        }
                    }
                }
            }
        }
    }

    // One frame into view's window, shown, and the pipeline drained.
    void Draw(view3d::CzandrelEditorView& view) const {
        QOpenGLContext* context = view.context();
        if (context == nullptr) {
            return;
        }
        const QSize size = view.size() * view.devicePixelRatioF();
        view3d::MapScene::BeginFrame(size.width(), size.height());
        view3d::MapScene::LoadProjection(view.navigator().camera, size.width(), size.height());
        glEnable(GL_TEXTURE_2D);
        glColor3f(1.0f, 1.0f, 1.0f);
        for (const auto& [texture, vertices] : batches_) {
            glBindTexture(GL_TEXTURE_2D, texture);
            glBegin(GL_TRIANGLES);
            for (const Vertex& v : vertices) {
                glTexCoord2f(v.s, v.t);
                glVertex3f(v.x, v.y, v.z);
            }
            glEnd();
        }
        context->swapBuffers(view.Surface());
        glFinish();
    }

private:
    struct Vertex {
        float s, t, x, y, z;
    };
    std::map<std::uint32_t, std::vector<Vertex>> batches_;
};

}  // namespace zandrel::bench
