#pragma once
// The parts a plotter definition is made of: capabilities (what the model can do, from its DRC
// data), configuration (what this plot uses), meta capabilities (the driver's identity) and the
// shoebox (the plot object). Each part copies itself.
#include <string>
#include <vector>

#include "hdi/HT_Custom_Data.h"
#include "hdi/HT_Object.h"
#include "hdi/HT_Plot_Monitor.h"

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

class HT_Std_Plotter_Capabilities : public HT_Counted {
  public:
    virtual SPMP<HT_Std_Plotter_Capabilities> copy() const;

    std::vector<HT_Media_Size> media_sizes;
    std::vector<HT_Resolution> resolutions;
    std::vector<HT_Color_Mode> color_modes;
    std::vector<HT_Custom_Item> custom_items;
    std::vector<std::wstring> media_sources;

    // The declared custom item of a key; null when the capabilities do not declare it.
    const HT_Custom_Item* find_custom(const std::wstring& key) const;
    // The choices a new configuration starts with (names from the lists above; may be empty).
    std::wstring default_media;
    std::wstring default_resolution;
    std::wstring default_color_mode;

    const HT_Media_Size* find_media(const std::wstring& name) const;
    const HT_Resolution* find_resolution(const std::wstring& name) const;
    const HT_Color_Mode* find_color_mode(const std::wstring& name) const;
};

class HT_Std_Plotter_Configuration : public HT_Counted {
  public:
    virtual SPMP<HT_Std_Plotter_Configuration> copy() const;

    // The accessors a device reads at establish.
    void get_resolution(double& horizontal, double& vertical) const;
    void get_media_size(double& width_mm, double& length_mm) const;
    void get_printable_area(double& left, double& right, double& bottom, double& top) const;
    const std::wstring& color_mode_name() const { return color_mode.name; }
    int color_system() const { return color_mode.color_system; }
    bool is_plot_to_file() const { return plot_to_file; }
    const std::wstring& output_name() const { return output_file; }

    // Chooses media, resolution and colour mode by their capability names; false when unknown.
    bool select(const HT_Std_Plotter_Capabilities& caps, const std::wstring& media,
                const std::wstring& resolution_name, const std::wstring& color_mode_name);

    HT_Media_Size media;
    HT_Resolution resolution;
    HT_Color_Mode color_mode;
    bool plot_to_file = true;
    std::wstring output_file;  // plot to file: the file's path
    std::wstring port;         // plot to port: a device path, or "|command" for a print command
    int copies = 1;            // copies of the media configuration
    // The driver's named items, kept with the configuration from one run to the next.
    HT_Custom_Config_List custom_items;
    // Raster output: whether raster images paint over vectors opaquely (the driver merges them
    // when this is off), and whether the raster path is allowed for ordinary images and for images
    // of kind 1: 0 declines images, 1-5 are draft levels (the driver coarsens the image), higher
    // levels keep full resolution, which is what a new configuration gets.
    bool raster_opaque = true;
    int raster_enabled = 100;
    int raster_enabled_kind1 = 100;
};

class HT_Meta_Capabilities : public HT_Counted {
  public:
    virtual SPMP<HT_Meta_Capabilities> copy() const;
    std::wstring version_text;
    std::wstring driver_path;
    std::wstring maker;
};

class HT_Shoebox : public HT_Counted {
  public:
    virtual SPMP<HT_Shoebox> copy() const;
    SPMP<HT_Plot_Object> plot_object;  // shared, not copied
    std::wstring text;
};
