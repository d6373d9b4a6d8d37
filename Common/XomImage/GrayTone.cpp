#include "Common/XomImage/GrayTone.h"

#include <algorithm>
#include <cmath>

namespace xomimage {

ToneTable BuildToneTable(double gamma, int intensityPercent, bool forGeneralRoad) {
    ToneTable table{};
    // A gamma that is not a positive number would turn every level into NaN: keep it linear.
    if (!(gamma > 0.0) || !std::isfinite(gamma)) gamma = 1.0;
    const double b = intensityPercent;
    for (int i = 0; i < 256; ++i) {
        double v = std::pow((255.0 - i) / 255.0, gamma);
        if (v > 0.0) {
            if (b > 100.0) {
                const double k = std::min(1.0, (b - 100.0) / 400.0);
                v = (1.0 - k) * v + k;
            } else if (b < 100.0) {
                v = v * b / 100.0;
            }
        }
        double result = std::trunc((1.0 - v) * 255.0 + 0.5);
        result = std::clamp(result, 0.0, 255.0);
        auto level = static_cast<std::uint8_t>(result);
        if (forGeneralRoad && level == 0) level = 1;
        table[static_cast<std::size_t>(i)] = level;
    }
    return table;
}

}  // namespace xomimage
