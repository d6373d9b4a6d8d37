#pragma once
// The parts plotter capabilities are made of: what the model offers for media, output, pens,
// raster, line types, resolution and colour, start-up and custom items. A capabilities object
// holds one of each; the DRC loader fills them. Each part copies itself.
#include <string>
#include <vector>

#include "hdi/HT_Custom_Data.h"
#include "hdi/HT_Object.h"

// Host colour systems.
inline constexpr int HT_COLOR_SYSTEM_MAPPED = 0;
inline constexpr int HT_COLOR_SYSTEM_RGB = 1;
inline constexpr int HT_COLOR_SYSTEM_BITONAL = 2;

struct HT_Media_Size {
    std::wstring name;       // DRC name, e.g. "ISO_A4"
    int display_string = 0;  // string-table id of the display text
    double width_mm = 0;     // portrait width
    double length_mm = 0;    // portrait length
    // printable-area margins in millimetres
    double margin_left = 0, margin_right = 0, margin_bottom = 0, margin_top = 0;
};

struct HT_Resolution {
    std::wstring name;  // e.g. "600_DPI"
    int display_string = 0;
    int dpi = 0;
};

struct HT_Color_Mode {
    std::wstring name;  // e.g. "Color", "Monochrome"
    int display_string = 0;
    int color_system = HT_COLOR_SYSTEM_RGB;
};

// A part that copies itself as its own class.
template <class Part>
class HT_Copyable_Part : public HT_Counted {
  public:
    virtual SPMP<Part> copy() const {
        return SPMP<Part>(new Part(static_cast<const Part&>(*this)));
    }
};

class HT_Media_Capabilities : public HT_Copyable_Part<HT_Media_Capabilities> {
  public:
    std::vector<HT_Media_Size> sizes;
    std::vector<std::wstring> sources;
    std::wstring default_size;  // the size a new configuration starts with; may be empty
    const HT_Media_Size* find_size(const std::wstring& name) const;
};

class HT_IO_Capabilities : public HT_Copyable_Part<HT_IO_Capabilities> {
  public:
    bool plot_to_file = true;
    bool plot_to_port = true;
};

class HT_Phys_Pen_Capabilities : public HT_Copyable_Part<HT_Phys_Pen_Capabilities> {
  public:
    int pen_count = 0;  // the model has no physical pens to assign
};

class HT_Raster_Capabilities : public HT_Copyable_Part<HT_Raster_Capabilities> {
  public:
    bool raster_images = true;
};

class HT_Linetype_Capabilities : public HT_Copyable_Part<HT_Linetype_Capabilities> {
  public:
    int hardware_linetypes = 0;  // the host dashes every line itself
};

class HT_ResColorMem_Capabilities : public HT_Copyable_Part<HT_ResColorMem_Capabilities> {
  public:
    std::vector<HT_Resolution> resolutions;
    std::vector<HT_Color_Mode> color_modes;
    std::wstring default_resolution;
    std::wstring default_color_mode;
    const HT_Resolution* find_resolution(const std::wstring& name) const;
    const HT_Color_Mode* find_color_mode(const std::wstring& name) const;
};

class HT_Init_Term_Capabilities : public HT_Copyable_Part<HT_Init_Term_Capabilities> {
  public:
    std::string init_string;
    std::string term_string;
};

class HT_Custom_Capabilities : public HT_Copyable_Part<HT_Custom_Capabilities> {
  public:
    std::vector<HT_Custom_Item> items;
    // The declared item of a key; null when it is not declared.
    const HT_Custom_Item* find(const std::wstring& key) const;
};
