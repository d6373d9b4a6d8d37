#pragma once
// The driver's plotter definition: the host's standard definition, made by the device for the
// plot it runs (and by the class factory for the host's configuration framework), knowing the
// device it belongs to.
#include "hdi/HT_Plotter_Definition.h"

class XOM_Driver;

class HT_XOM_Plotter_Definition : public HT_Std_Plotter_Definition {
  public:
    // device may be null (a definition made outside a plot).
    HT_XOM_Plotter_Definition(HT_Error_Handler* error_handler, XOM_Driver* device);
    ~HT_XOM_Plotter_Definition() override;

    // The device that made this definition; not owned (the device owns the definition).
    XOM_Driver* device() const { return m_device; }
    // Called by the device when it goes away while the definition lives on in the host.
    void detach_device() { m_device = nullptr; }

  private:
    XOM_Driver* m_device;
};
