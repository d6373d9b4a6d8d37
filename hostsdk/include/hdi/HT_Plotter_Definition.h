#pragma once
// The host's standard plotter definition (a definition owns its parts through the pool) and the
// standard class factory that makes the definition's parts and the plotter output object.
#include <string>

#include "hdi/HT_Error.h"
#include "hdi/HT_Palette.h"
#include "hdi/HT_Plotter_Parts.h"
#include "hdi/HT_Validators.h"

class HT_Plotter_IO;
class PM_DRC_Caps_Loader;

class HT_Std_Plotter_Definition : public HT_Counted {
  public:
    explicit HT_Std_Plotter_Definition(HT_Error_Handler* error_handler);
    ~HT_Std_Plotter_Definition() override;

    void set_meta_capabilities(SPMP<HT_Meta_Capabilities> meta);
    void set_plotter_capabilities(SPMP<HT_Std_Plotter_Capabilities> caps);
    void set_plotter_configuration(SPMP<HT_Std_Plotter_Configuration> config);
    void set_shoebox(SPMP<HT_Shoebox> shoebox);

    HT_Meta_Capabilities* get_meta_capabilities() const { return m_meta.get(); }
    HT_Std_Plotter_Capabilities* get_plotter_capabilities() const { return m_caps.get(); }
    HT_Std_Plotter_Configuration* get_plotter_configuration() const { return m_config.get(); }
    HT_Shoebox* get_shoebox() const { return m_shoebox.get(); }
    HT_Error_Handler* get_error_handler() const { return m_errorHandler.get(); }

    virtual bool Custom_Config_UI_Available() { return false; }
    virtual bool CustomConfigure(void* parent_window) { return false; }
    virtual bool get_driver_hints_helpfile(std::wstring& file, std::wstring& topic);
    virtual bool get_true_device_colors(HT_Palette* palette) { return false; }

  private:
    SPMP<HT_Error_Handler> m_errorHandler;
    SPMP<HT_Meta_Capabilities> m_meta;
    SPMP<HT_Std_Plotter_Capabilities> m_caps;
    SPMP<HT_Std_Plotter_Configuration> m_config;
    SPMP<HT_Shoebox> m_shoebox;
};

// Makes every object of a plotter definition. A driver derives its own factory to make its own
// kinds; each creator returns null when memory is exhausted.
class HT_Std_Plotter_Class_Factory : public HT_Counted {
  public:
    virtual SPMP<PM_DRC_Caps_Loader> HD_Create_Caps_Loader(HT_Error_Handler* error_handler);
    virtual SPMP<HT_Std_Plotter_Capabilities> HD_Create_Plotter_Capabilities(const std::wstring&,
                                                                             const std::wstring&,
                                                                             const std::wstring&);
    virtual SPMP<HT_Std_Plotter_Configuration> HD_Create_Plotter_Configuration(const std::wstring&,
                                                                               const std::wstring&,
                                                                               const std::wstring&);
    virtual SPMP<HT_Std_Plotter_Definition> HD_Create_Plotter_Definition(
        HT_Error_Handler* error_handler);

    virtual SPMP<HT_Media_Capabilities> HD_Create_Media_Capabilities();
    virtual SPMP<HT_IO_Capabilities> HD_Create_IO_Capabilities();
    virtual SPMP<HT_Phys_Pen_Capabilities> HD_Create_Phys_Pen_Capabilities();
    virtual SPMP<HT_Raster_Capabilities> HD_Create_Raster_Capabilities();
    virtual SPMP<HT_Linetype_Capabilities> HD_Create_Linetype_Capabilities();
    virtual SPMP<HT_ResColorMem_Capabilities> HD_Create_ResColorMem_Capabilities();
    virtual SPMP<HT_Init_Term_Capabilities> HD_Create_Init_Term_Capabilities();
    virtual SPMP<HT_Custom_Capabilities> HD_Create_Custom_Capabilities();

    virtual SPMP<HT_Media_Configuration> HD_Create_Media_Configuration();
    virtual SPMP<HT_IO_Configuration> HD_Create_IO_Configuration();
    virtual SPMP<HT_Phys_Pen_Configuration> HD_Create_Phys_Pen_Configuration();
    virtual SPMP<HT_ResColorMem_Configuration> HD_Create_ResColorMem_Configuration();
    virtual SPMP<HT_Init_Term_Configuration> HD_Create_Init_Term_Configuration();
    virtual SPMP<HT_Custom_Configuration> HD_Create_Custom_Configuration();

    virtual SPMP<HT_Meta_Capabilities> HD_Create_Meta_Capabilities();
    virtual SPMP<HT_Model> HD_Create_Model();
    virtual SPMP<HT_Family> HD_Create_Family();
    virtual SPMP<HT_Shoebox_Data> HD_Create_Shoebox_Data();
    virtual SPMP<HT_Shoebox> HD_Create_Shoebox();

    virtual SPMP<HT_Std_Media_Validator> HD_Create_Media_Validator(
        HT_Std_Plotter_Definition* definition);
    virtual SPMP<HT_Std_ResColorMem_Validator> HD_Create_ResColorMem_Validator(
        HT_Std_Plotter_Definition* definition);
    virtual SPMP<HT_Std_Custom_Validator> HD_Create_Custom_Validator(
        HT_Std_Plotter_Definition* definition);
    virtual SPMP<HT_Std_Plotter_IO_Validator> HD_Create_Plotter_IO_Validator(
        HT_Std_Plotter_Definition* definition);

    // The plotter output object (a file, a device path or a pipe to a print command).
    virtual SPMP<HT_Plotter_IO> create_plotter_io(HT_Error_Handler* error_handler);
};
