#pragma once
// Palettes of the renderer: up to 256 entries, filled directly or from a colour cube / gray ramp.
#include <array>
#include <cstdint>

#include "hdi/HT_Geometry.h"
#include "hdi/HT_Object.h"

struct HT_Palette_Entry {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
    std::uint8_t alpha;
};

class HT_Color_Cube {
  public:
    // steps per primary; the cube occupies steps^3 entries starting at first_entry.
    HT_Color_Cube(int first_entry, int steps) : m_first(first_entry), m_steps(steps) {}
    int first_entry() const { return m_first; }
    int steps() const { return m_steps; }

  private:
    int m_first;
    int m_steps;
};

class HT_Gray_Ramp {
  public:
    HT_Gray_Ramp(int first_entry, int steps) : m_first(first_entry), m_steps(steps) {}
    int first_entry() const { return m_first; }
    int steps() const { return m_steps; }

  private:
    int m_first;
    int m_steps;
};

class HT_Palette : public HT_Counted {
  public:
    static constexpr int kMaxEntries = 256;

    int size() const { return m_size; }
    void set_size(int size);
    const HT_Palette_Entry& entry(int index) const {
        return m_entries.at(static_cast<size_t>(index));
    }
    // How often the renderer refers to the entry: this host counts every entry within the
    // palette's size as used once, and entries beyond it as unused.
    int use_count(int index) const { return index >= 0 && index < m_size ? 1 : 0; }
    void set_entry(int index, HT_Palette_Entry e) { m_entries.at(static_cast<size_t>(index)) = e; }
    // Fill entries with an evenly spaced cube (components 0..255) or ramp (black to white).
    void set_color_cube(const HT_Color_Cube& cube);
    void set_gray_ramp(const HT_Gray_Ramp& ramp);

  private:
    std::array<HT_Palette_Entry, kMaxEntries> m_entries{};
    int m_size = 0;
};
