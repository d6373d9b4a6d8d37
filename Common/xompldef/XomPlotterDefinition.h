#pragma once
// The driver's plotter definition: the host's standard definition, made by the device for the
// plot it runs (and by the class factory for the host's configuration framework), knowing the
// device it belongs to. Construction identifies the driver to the host from the build's identity
// and the DRC data in the host's language folder, and gives the definition the driver's own
// capabilities, configuration and shoebox.
#include "Common/XOM/Export.h"
#include "hdi/HT_Plotter_Definition.h"

class XOM_Driver;
class HT_XOM_Plotter_Class_Factory;

class XOM_EXPORT_CLASS HT_XOM_Plotter_Definition : public HT_Std_Plotter_Definition {
  public:
    // device may be null (a definition made outside a plot). Throws HT_Error naming what is
    // missing ("m_cf", "DRC File", "plotter_caps", ...).
    HT_XOM_Plotter_Definition(HT_Error_Handler* error_handler, XOM_Driver* device);
    ~HT_XOM_Plotter_Definition() override;
    HT_XOM_Plotter_Definition(const HT_XOM_Plotter_Definition&) = delete;
    HT_XOM_Plotter_Definition& operator=(const HT_XOM_Plotter_Definition&) = delete;

    // The device that made this definition; not owned (the device owns the definition).
    XOM_Driver* device() const { return m_device; }
    // Called by the device when it goes away while the definition lives on in the host.
    void detach_device() { m_device = nullptr; }
    HT_XOM_Plotter_Class_Factory* class_factory() const;
    HT_Std_Plotter_Validator* plotter_validator() const { return m_validator.get(); }

    bool Custom_Config_UI_Available() override;
    bool CustomConfigure(void* parent_window) override;
    bool get_driver_hints_helpfile(std::wstring& file, std::wstring& topic) override;
    bool get_true_device_colors(HT_Palette* palette) override;

  private:
    void initMetaCaps();

    SPMP<HT_Std_Plotter_Class_Factory> m_cf;
    SPMP<HT_Std_Plotter_Validator> m_validator;
    XOM_Driver* m_device;
};
