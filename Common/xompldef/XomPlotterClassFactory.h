#pragma once
// The driver's class factory: the host's configuration framework makes every object of the
// driver's plotter model through it. It makes the driver's own definition, capabilities,
// configuration and validators; every other object is the standard one.
#include "Common/XOM/Export.h"
#include "hdi/HT_Plotter_Definition.h"

class XOM_EXPORT_CLASS HT_XOM_Plotter_Class_Factory : public HT_Std_Plotter_Class_Factory {
  public:
    HT_XOM_Plotter_Class_Factory();
    ~HT_XOM_Plotter_Class_Factory() override;

    // A host object the factory holds for the host (none after construction).
    void set_host_object(SPMP<HT_Counted> object) { m_hostObject = std::move(object); }
    HT_Counted* host_object() const { return m_hostObject.get(); }

    SPMP<PM_DRC_Caps_Loader> HD_Create_Caps_Loader(HT_Error_Handler* error_handler) override;
    SPMP<HT_Std_Plotter_Capabilities> HD_Create_Plotter_Capabilities(const std::wstring&,
                                                                     const std::wstring&,
                                                                     const std::wstring&) override;
    SPMP<HT_Std_Plotter_Configuration> HD_Create_Plotter_Configuration(
        const std::wstring&, const std::wstring&, const std::wstring&) override;
    // A definition that belongs to no device. Throws HT_Error when the driver cannot identify
    // itself (for example without its DRC file).
    SPMP<HT_Std_Plotter_Definition> HD_Create_Plotter_Definition(
        HT_Error_Handler* error_handler) override;
    SPMP<HT_Std_Media_Validator> HD_Create_Media_Validator(
        HT_Std_Plotter_Definition* definition) override;
    SPMP<HT_Std_ResColorMem_Validator> HD_Create_ResColorMem_Validator(
        HT_Std_Plotter_Definition* definition) override;
    SPMP<HT_Std_Custom_Validator> HD_Create_Custom_Validator(
        HT_Std_Plotter_Definition* definition) override;
    SPMP<HT_Std_Plotter_IO_Validator> HD_Create_Plotter_IO_Validator(
        HT_Std_Plotter_Definition* definition) override;

  private:
    SPMP<HT_Counted> m_hostObject;
};

// The host's way in: a new driver class factory (the caller adopts it); null when memory is
// exhausted.
XOM_EXPORT HT_Std_Plotter_Class_Factory* HD_Create_Class_Factory(void);
