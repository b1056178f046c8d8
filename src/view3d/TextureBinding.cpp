#include "view3d/TextureBinding.h"

#include <GL/gl.h>

#include "view3d/TextureLoader.h"

namespace zandrel::view3d {

void TextureBinding::Bind(std::uint32_t texture) {
    if (bound_ && texture == texture_) {
        return;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    TextureLoader::SetDrawParameters();
    texture_ = texture;
    bound_ = true;
}

}  // namespace zandrel::view3d
