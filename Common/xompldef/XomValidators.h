#pragma once
// The driver's validators: the standard rules, unchanged (the host calls them by the driver's
// classes, so each is its own class).
#include "Common/XOM/Export.h"
#include "hdi/HT_Validators.h"

class XOM_EXPORT_CLASS HT_XOM_Media_Validator : public HT_Std_Media_Validator {
  public:
    explicit HT_XOM_Media_Validator(HT_Std_Plotter_Definition* definition);
    bool validate_size(HT_Validation_Strategy strategy) override;
    bool validate_source(HT_Validation_Strategy strategy) override;
    bool validate_source_entry(HT_Validation_Strategy strategy) override;
};

class XOM_EXPORT_CLASS HT_XOM_ResColorMem_Validator : public HT_Std_ResColorMem_Validator {
  public:
    explicit HT_XOM_ResColorMem_Validator(HT_Std_Plotter_Definition* definition);
    bool validate_res_color_mem(HT_Validation_Strategy strategy) override;
};

class XOM_EXPORT_CLASS HT_XOM_Custom_Validator : public HT_Std_Custom_Validator {
  public:
    explicit HT_XOM_Custom_Validator(HT_Std_Plotter_Definition* definition);
    bool validate_all_custom(HT_Validation_Strategy strategy) override;
};

class XOM_EXPORT_CLASS HT_XOM_Plotter_IO_Validator : public HT_Std_Plotter_IO_Validator {
  public:
    explicit HT_XOM_Plotter_IO_Validator(HT_Std_Plotter_Definition* definition);
    bool validate_portname_and_type(HT_Validation_Strategy strategy) override;
};
