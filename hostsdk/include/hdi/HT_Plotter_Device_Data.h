#pragma once
// Device base classes: renderer data (options, palette, drawing actions), device data, and the
// plotter device a driver derives from. The virtual operations keep the host's slot order.
#include <string>

#include "hdi/HT_Actions.h"
#include "hdi/HT_Error.h"
#include "hdi/HT_Palette.h"
#include "hdi/HT_Plotter_Definition.h"
#include "hdi/HT_Plotter_IO.h"

struct HT_Renderer_Options {
    int buffer_depth = 8;
    double pixel_aspect = 1.0;
    int window_x = 0;
    int window_y = 0;
    int window_width = 32767;
    int window_height = 32767;
    int color_system = HT_COLOR_SYSTEM_RGB;
    int bitonal_format = 0;
    // Device dots per half inch: line patterns scale with it (300 is a 600 dpi device's).
    double pattern_scale = 300.0;
    SPMP<HT_Palette> palette;
};

struct HT_Plotter_Options {
    int true_arcs = 0;
    bool fat_dots_as_squares = false;
};

class HT_Renderer_Data : public HT_Counted {
  public:
    HT_Renderer_Options& renderer_options() { return m_renderer; }
    const HT_Renderer_Options& renderer_options() const { return m_renderer; }
    HT_Action_Table& actions() { return m_actions; }
    const HT_Action_Table& actions() const { return m_actions; }
    // With true, every action is the host's standard routine; with false the table is cleared.
    void set_standard_actions(bool on);

    // What the host calls to draw: the device's enabled action, else the standard routine.
    void draw_dc_polyline(const HT_Rendition& r, int count, const HT_DC_Point* points);
    void draw_dci_polyline(const HT_Rendition& r, int count, const HT_DCI_Point* points);
    void draw_dc_polygon(const HT_Rendition& r, int count, const HT_DC_Point* points,
                         const HT_RGB* colour);
    void draw_dci_polygon(const HT_Rendition& r, int count, const HT_DCI_Point* points,
                          const HT_RGB* colour);
    void draw_dci_polytriangle(const HT_Rendition& r, int count, const HT_DCI_Point* points);
    void draw_dci_dot(const HT_Rendition& r, const HT_DCI_Point& point, const HT_RGB* colour);
    void draw_dci_ellipse(const HT_Rendition& r, const HT_DCI_Point& centre,
                          const HT_DCI_Point& radii, float start, float end, const HT_RGB* colour);
    void draw_dci_elliptical_arc(const HT_Rendition& r, const HT_DCI_Point& centre,
                                 const HT_DCI_Point& radii, float start, float end);
    void draw_dci_image(const HT_Rendition& r, const HT_DCI_Point& position, const HT_Image& image);
    void draw_dc_raster_image(const HT_Rendition& r, const HT_DC_Point& corner1,
                              const HT_DC_Point& corner2, const HT_Image& image);
    // The integer-coordinate image action of the image's kind (rgb32, index8, bitonal).
    void draw_dci_raster_image(const HT_Rendition& r, const HT_DCI_Point& corner1,
                               const HT_DCI_Point& corner2, const HT_Image& image);

    // Primitives the host's standard routines could not draw (reported as error 90), counted
    // for the life of the device so that a driver can tell an incomplete plot from a whole one.
    int undrawn_primitives() const { return m_undrawn; }
    void note_undrawn_primitive() { ++m_undrawn; }

  protected:
    HT_Renderer_Options m_renderer;
    HT_Action_Table m_actions;
    int m_undrawn = 0;
};

class HT_Device_Data : public HT_Renderer_Data {};

class HT_Plotter_Device_Data : public HT_Device_Data {
  public:
    HT_Plotter_Device_Data();
    ~HT_Plotter_Device_Data() override;  // slot 0

    virtual int get_device_flags() { return 0; }                                 // slot 1
    virtual HT_Renderer_Options* get_renderer_options() { return &m_renderer; }  // 2
    virtual const HT_Renderer_Options* get_renderer_options() const { return &m_renderer; }  // 3
    virtual void optimize_current_options() {}                                               // 4
    virtual void optimize_current_renderer_options() {}                                      // 5
    virtual HT_Plotter_Options* get_option_table() { return &m_plotter; }                    // 6
    virtual void establish() {}                                                              // 7
    virtual void establish_all() { establish(); }                                            // 8
    virtual void begin_picture(const HT_Document_Info& info) {}                              // 9
    virtual void begin_picture_all(const HT_Document_Info& info) { begin_picture(info); }    // 10
    virtual void end_picture() {}                                                            // 11
    virtual void end_picture_all() { end_picture(); }                                        // 12
    virtual void update() {}                                                                 // 13
    virtual void update_all() { update(); }                                                  // 14
    virtual void start_page_hook() {}                                                        // 15
    virtual void configure(HT_Std_Plotter_Definition* definition) {}                         // 16
    virtual void attach(HT_Error_Handler* error_handler) {}                                  // 17
    virtual SPMP<HT_Std_Plotter_Definition> create_plotter_definition() { return {}; }       // 18
    virtual int get_banding_requirements() { return 0; }                                     // 19
    virtual bool supports_true_colors() { return true; }                                     // 20
    virtual bool is_preplot_pass() { return false; }                                         // 21
    virtual bool can_alpha_blend() { return false; }                                         // 22
    virtual bool truetype_text_info() { return false; }                                      // 23
    virtual void set_true_bounds(int, int, int, int) {}                                      // 24
    virtual void viewport_hook() {}                                                          // 25
    virtual bool wants_raster_rotation() { return false; }                                   // 26
    virtual void set_plot_transparency(bool on) { m_plotTransparency = on; }                 // 27
    virtual bool get_plot_transparency() const { return m_plotTransparency; }                // 28
    virtual int get_memory_hint() { return 0; }                                              // 29
    virtual int write_output(const void* bytes, std::size_t length) { return 1; }            // 30

    HT_Plotter_Options& plotter_options() { return m_plotter; }
    // Lets the host refresh the current options before establish.
    void update_current_options() {}

  protected:
    HT_Plotter_Options m_plotter;
    bool m_plotTransparency = false;
};
