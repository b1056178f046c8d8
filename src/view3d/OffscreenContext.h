#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "map/Status.h"

namespace zandrel::view3d {

// A desktop OpenGL compatibility context with a pbuffer of its own, made through EGL on Mesa's
// surfaceless platform: no X server, no window and no device node are needed, so pictures can
// be drawn over SSH or in a build job. The immediate-mode drawing code runs in it unchanged.
class OffscreenContext {
public:
    // Makes a current context with a width x height RGBA pbuffer and a 24-bit depth buffer.
    static Status Create(std::int32_t width, std::int32_t height,
                         std::unique_ptr<OffscreenContext>& context);

    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

    // The pixels drawn so far as RGB rows from the top, after glFinish.
    std::vector<unsigned char> ReadRgb() const;

private:
    OffscreenContext() = default;

    void* display_ = nullptr;
    void* context_ = nullptr;
    void* surface_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

}  // namespace zandrel::view3d
