#pragma once

#include <png.h>

#include <array>
#include <cstring>
#include <string>

namespace zandrel::heightimage {

// libpng reports a fatal error through a handler that must not return: this one keeps the
// message and jumps back to the setjmp of the libpng call in progress. Every function that
// sets that jump point holds only trivially destructible locals, and everything it allocates
// lives in its caller, so the jump skips no destructor. Warnings (a dubious colour profile, a
// bad CRC in an ancillary chunk) are ignored: they never change the pixels we read. Our own
// callbacks report their failures with png_error, so they take the same road.
class PngErrorTrap {
public:
    static void OnError(png_structp png, png_const_charp text) {
        auto* const trap = static_cast<PngErrorTrap*>(png_get_error_ptr(png));
        if (trap != nullptr) {
            std::strncpy(trap->message_.data(), text != nullptr ? text : "unknown error",
                         trap->message_.size() - 1);
        }
        png_longjmp(png, 1);
    }
    static void OnWarning(png_structp, png_const_charp) {}

    // What libpng said last, or fallback when it said nothing.
    std::string Message(const char* fallback) const {
        return message_[0] != '\0' ? std::string(message_.data()) : std::string(fallback);
    }

private:
    std::array<char, 200> message_{};
};

}  // namespace zandrel::heightimage
