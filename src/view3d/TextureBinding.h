#pragma once

#include <cstdint>

namespace zandrel::view3d {

// Binds the textures of a run of tiles and walls, each with the draw parameters, and leaves out
// a bind of the texture the run bound last. Such a bind changes nothing GL draws, but Mesa
// revalidates all texture state after every bind in a context that shares its objects, as every
// view's does: on llvmpipe that was about half the main thread's time of a textured frame.
// Nothing else may bind a texture during a run; start a new run after anything that does.
class TextureBinding {
public:
    void Bind(std::uint32_t texture);

private:
    std::uint32_t texture_ = 0;
    bool bound_ = false;
};

}  // namespace zandrel::view3d
