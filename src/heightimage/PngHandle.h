#pragma once

#include <png.h>

#include "heightimage/PngErrorTrap.h"

namespace zandrel::heightimage {

// libpng's read or write structure with its info structure, made with the error trap and freed
// together. valid() is false when libpng could not allocate them.
template <bool kWrite>
class PngHandle {
public:
    explicit PngHandle(PngErrorTrap& trap) {
        if constexpr (kWrite) {
            png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, &trap, &PngErrorTrap::OnError,
                                           &PngErrorTrap::OnWarning);
        } else {
            png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &trap, &PngErrorTrap::OnError,
                                          &PngErrorTrap::OnWarning);
        }
        if (png_ != nullptr) {
            info_ = png_create_info_struct(png_);
        }
    }
    ~PngHandle() {
        if constexpr (kWrite) {
            png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr);
        } else {
            png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
        }
    }
    PngHandle(const PngHandle&) = delete;
    PngHandle& operator=(const PngHandle&) = delete;

    bool valid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

using PngReadHandle = PngHandle<false>;
using PngWriteHandle = PngHandle<true>;

}  // namespace zandrel::heightimage
