#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zandrel::view3d {

// The marker of one enemy slot. The document owns four; the view places and draws them every
// frame. The texture name belongs to the GL context that was current when it was loaded, which
// the model cannot know, so the model never deletes it: the view that reloads it does.
class EnemyModel {
public:
    EnemyModel() = default;

    // Centre of the marker for a cell at (x, z) whose centre height is h.
    void Place(float x, float h, float z);

    // Draws the marker at position with the current colour. renderMode 1 draws a wire sphere,
    // 3 a textured sphere; any other value draws nothing.
    void Draw(std::int32_t renderMode) const;

    // Loads fileName (resolved against the working directory) into a new mipmapped texture.
    // Needs a current GL context; a file that cannot be read leaves texture 0.
    void LoadTexture(const std::string& fileName);

    std::array<float, 3> position{0.0f, 0.0f, 0.0f};
    std::uint32_t texture = 0;
};

}  // namespace zandrel::view3d
