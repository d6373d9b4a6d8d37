// Palette fills: evenly spaced colour cubes and gray ramps, clipped to the 256 entries.
#include "hdi/HT_Palette.h"

#include <algorithm>

namespace {
std::uint8_t Level(int step, int steps) {
    if (steps <= 1) return 0;
    return static_cast<std::uint8_t>((step * 255 + (steps - 1) / 2) / (steps - 1));
}
}  // namespace

void HT_Palette::set_size(int size) {
    m_size = std::clamp(size, 0, kMaxEntries);
}

void HT_Palette::set_color_cube(const HT_Color_Cube& cube) {
    const int steps = cube.steps();
    if (steps <= 0 || cube.first_entry() < 0 || steps > kMaxEntries) return;
    int index = cube.first_entry();
    for (int r = 0; r < steps; ++r) {
        for (int g = 0; g < steps; ++g) {
            for (int b = 0; b < steps; ++b, ++index) {
                if (index >= kMaxEntries) return;
                m_entries[static_cast<size_t>(index)] = {Level(r, steps), Level(g, steps),
                                                         Level(b, steps), 255};
                m_size = std::max(m_size, index + 1);
            }
        }
    }
}

void HT_Palette::set_gray_ramp(const HT_Gray_Ramp& ramp) {
    const int steps = ramp.steps();
    if (steps <= 0 || ramp.first_entry() < 0) return;
    for (int i = 0; i < steps; ++i) {
        const int index = ramp.first_entry() + i;
        if (index >= kMaxEntries) return;
        const std::uint8_t v = Level(i, steps);
        m_entries[static_cast<size_t>(index)] = {v, v, v, 255};
        m_size = std::max(m_size, index + 1);
    }
}
