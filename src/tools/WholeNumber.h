#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace zandrel::tools {

// A height or attribute truncated toward zero to an int32, as reference heights and panel
// values are. Values the int32 cannot hold saturate at its ends and NaN gives 0, instead of the
// undefined conversion; every value a map can sensibly hold is unaffected.
inline std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace zandrel::tools
