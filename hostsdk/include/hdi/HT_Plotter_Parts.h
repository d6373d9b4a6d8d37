#pragma once
// The parts a plotter definition is made of: capabilities (what the model can do, from its DRC
// data), configuration (what this plot uses), meta capabilities (the driver's identity with its
// model and family) and the shoebox (the plot object). Capabilities and configuration are
// themselves made of parts (HT_Capability_Parts.h, HT_Configuration_Parts.h); a new one starts
// with an empty part of each kind, and a driver may replace them through the setters. Each object
// copies itself with all its parts.
#include <string>
#include <utility>
#include <vector>

#include "hdi/HT_Capability_Parts.h"
#include "hdi/HT_Configuration_Parts.h"
#include "hdi/HT_Object.h"
#include "hdi/HT_Plot_Monitor.h"

class HT_Std_Plotter_Capabilities : public HT_Counted {
  public:
    HT_Std_Plotter_Capabilities();
    HT_Std_Plotter_Capabilities(const HT_Std_Plotter_Capabilities& other);
    HT_Std_Plotter_Capabilities& operator=(const HT_Std_Plotter_Capabilities&) = delete;
    virtual SPMP<HT_Std_Plotter_Capabilities> copy() const;

    // A null part is refused (the part in place stays).
    void set_media_capabilities(SPMP<HT_Media_Capabilities> part);
    void set_io_capabilities(SPMP<HT_IO_Capabilities> part);
    void set_phys_pen_capabilities(SPMP<HT_Phys_Pen_Capabilities> part);
    void set_raster_capabilities(SPMP<HT_Raster_Capabilities> part);
    void set_linetype_capabilities(SPMP<HT_Linetype_Capabilities> part);
    void set_res_color_mem_capabilities(SPMP<HT_ResColorMem_Capabilities> part);
    void set_init_term_capabilities(SPMP<HT_Init_Term_Capabilities> part);
    void set_custom_capabilities(SPMP<HT_Custom_Capabilities> part);

    HT_Media_Capabilities* get_media_capabilities() const { return m_media.get(); }
    HT_IO_Capabilities* get_io_capabilities() const { return m_io.get(); }
    HT_Phys_Pen_Capabilities* get_phys_pen_capabilities() const { return m_physPen.get(); }
    HT_Raster_Capabilities* get_raster_capabilities() const { return m_raster.get(); }
    HT_Linetype_Capabilities* get_linetype_capabilities() const { return m_linetype.get(); }
    HT_ResColorMem_Capabilities* get_res_color_mem_capabilities() const { return m_rcm.get(); }
    HT_Init_Term_Capabilities* get_init_term_capabilities() const { return m_initTerm.get(); }
    HT_Custom_Capabilities* get_custom_capabilities() const { return m_custom.get(); }

    // Look-ups through the parts.
    const HT_Media_Size* find_media(const std::wstring& name) const;
    const HT_Resolution* find_resolution(const std::wstring& name) const;
    const HT_Color_Mode* find_color_mode(const std::wstring& name) const;
    const HT_Custom_Item* find_custom(const std::wstring& key) const;
    // The choices a new configuration starts with (names from the parts' lists; may be empty).
    const std::wstring& default_media() const { return m_media->default_size; }
    const std::wstring& default_resolution() const { return m_rcm->default_resolution; }
    const std::wstring& default_color_mode() const { return m_rcm->default_color_mode; }

  private:
    SPMP<HT_Media_Capabilities> m_media;
    SPMP<HT_IO_Capabilities> m_io;
    SPMP<HT_Phys_Pen_Capabilities> m_physPen;
    SPMP<HT_Raster_Capabilities> m_raster;
    SPMP<HT_Linetype_Capabilities> m_linetype;
    SPMP<HT_ResColorMem_Capabilities> m_rcm;
    SPMP<HT_Init_Term_Capabilities> m_initTerm;
    SPMP<HT_Custom_Capabilities> m_custom;
};

class HT_Std_Plotter_Configuration : public HT_Counted {
  public:
    HT_Std_Plotter_Configuration();
    HT_Std_Plotter_Configuration(const HT_Std_Plotter_Configuration& other);
    HT_Std_Plotter_Configuration& operator=(const HT_Std_Plotter_Configuration&) = delete;
    virtual SPMP<HT_Std_Plotter_Configuration> copy() const;

    // A null part is refused (the part in place stays).
    void set_media_configuration(SPMP<HT_Media_Configuration> part);
    void set_io_configuration(SPMP<HT_IO_Configuration> part);
    void set_phys_pen_configuration(SPMP<HT_Phys_Pen_Configuration> part);
    void set_res_color_mem_configuration(SPMP<HT_ResColorMem_Configuration> part);
    void set_init_term_configuration(SPMP<HT_Init_Term_Configuration> part);
    void set_custom_configuration(SPMP<HT_Custom_Configuration> part);

    HT_Media_Configuration* get_media_configuration() const { return m_media.get(); }
    HT_IO_Configuration* get_io_configuration() const { return m_io.get(); }
    HT_Phys_Pen_Configuration* get_phys_pen_configuration() const { return m_physPen.get(); }
    HT_ResColorMem_Configuration* get_res_color_mem_configuration() const { return m_rcm.get(); }
    HT_Init_Term_Configuration* get_init_term_configuration() const { return m_initTerm.get(); }
    HT_Custom_Configuration* get_custom_configuration() const { return m_custom.get(); }

    // The accessors a device reads at establish.
    void get_resolution(double& horizontal, double& vertical) const;
    void get_media_size(double& width_mm, double& length_mm) const;
    void get_printable_area(double& left, double& right, double& bottom, double& top) const;
    const std::wstring& color_mode_name() const { return m_rcm->color_mode.name; }
    int color_system() const { return m_rcm->color_mode.color_system; }
    bool is_plot_to_file() const { return m_io->plot_to_file; }
    const std::wstring& output_name() const { return m_io->output_file; }
    int copies() const { return m_media->copies; }
    HT_Custom_Config_List& custom_items() { return m_custom->items; }
    const HT_Custom_Config_List& custom_items() const { return m_custom->items; }

    // Chooses media, resolution and colour mode by their capability names; false when unknown.
    bool select(const HT_Std_Plotter_Capabilities& caps, const std::wstring& media,
                const std::wstring& resolution_name, const std::wstring& color_mode_name);

    // Raster output: whether raster images paint over vectors opaquely (the driver merges them
    // when this is off), and whether the raster path is allowed for ordinary images and for images
    // of kind 1: 0 declines images, 1-5 are draft levels (the driver coarsens the image), higher
    // levels keep full resolution, which is what a new configuration gets.
    bool raster_opaque = true;
    int raster_enabled = 100;
    int raster_enabled_kind1 = 100;

  private:
    SPMP<HT_Media_Configuration> m_media;
    SPMP<HT_IO_Configuration> m_io;
    SPMP<HT_Phys_Pen_Configuration> m_physPen;
    SPMP<HT_ResColorMem_Configuration> m_rcm;
    SPMP<HT_Init_Term_Configuration> m_initTerm;
    SPMP<HT_Custom_Configuration> m_custom;
};

// The plotter model and family a driver names to the host.
class HT_Model : public HT_Copyable_Part<HT_Model> {
  public:
    std::wstring descriptor;   // the model's name ("Q Series")
    std::wstring info;         // the model's long name
    std::wstring description;  // descriptive texts the host may show
    std::wstring comment;
    std::wstring os_version;  // "platform,major,minor" of the system the driver runs on
    std::wstring locale;      // the driver's translation list, hex entries joined by ","
    // Numbered groups of host settings ((group, value) in the order they were added).
    std::vector<std::pair<int, int>> group_settings;
    int host_value_1 = -1;  // host values a driver resets to 0
    int host_value_2 = -1;
};

class HT_Family : public HT_Copyable_Part<HT_Family> {
  public:
    std::wstring descriptor;  // the family's name ("XOM")
    std::wstring info;
    int host_value = -1;
};

class HT_Meta_Capabilities : public HT_Counted {
  public:
    HT_Meta_Capabilities() = default;
    HT_Meta_Capabilities(const HT_Meta_Capabilities& other);
    HT_Meta_Capabilities& operator=(const HT_Meta_Capabilities&) = delete;
    virtual SPMP<HT_Meta_Capabilities> copy() const;

    std::wstring version_text;
    std::wstring driver_path;
    std::wstring maker;
    SPMP<HT_Model> model;  // null until a driver names one
    SPMP<HT_Family> family;
};

// What the shoebox holds besides the plot object: a text of the host's (a start folder).
class HT_Shoebox_Data : public HT_Copyable_Part<HT_Shoebox_Data> {
  public:
    std::wstring text;
};

class HT_Shoebox : public HT_Counted {
  public:
    virtual SPMP<HT_Shoebox> copy() const;
    SPMP<HT_Plot_Object> plot_object;  // shared, not copied
    SPMP<HT_Shoebox_Data> data;        // copied
};
