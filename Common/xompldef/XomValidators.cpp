#include "Common/xompldef/XomValidators.h"

HT_XOM_Media_Validator::HT_XOM_Media_Validator(HT_Std_Plotter_Definition* definition)
    : HT_Std_Media_Validator(definition) {}
bool HT_XOM_Media_Validator::validate_size(HT_Validation_Strategy strategy) {
    return HT_Std_Media_Validator::validate_size(strategy);
}
bool HT_XOM_Media_Validator::validate_source(HT_Validation_Strategy strategy) {
    return HT_Std_Media_Validator::validate_source(strategy);
}
bool HT_XOM_Media_Validator::validate_source_entry(HT_Validation_Strategy strategy) {
    return HT_Std_Media_Validator::validate_source_entry(strategy);
}

HT_XOM_ResColorMem_Validator::HT_XOM_ResColorMem_Validator(HT_Std_Plotter_Definition* definition)
    : HT_Std_ResColorMem_Validator(definition) {}
bool HT_XOM_ResColorMem_Validator::validate_res_color_mem(HT_Validation_Strategy strategy) {
    return HT_Std_ResColorMem_Validator::validate_res_color_mem(strategy);
}

HT_XOM_Custom_Validator::HT_XOM_Custom_Validator(HT_Std_Plotter_Definition* definition)
    : HT_Std_Custom_Validator(definition) {}
bool HT_XOM_Custom_Validator::validate_all_custom(HT_Validation_Strategy strategy) {
    return HT_Std_Custom_Validator::validate_all_custom(strategy);
}

HT_XOM_Plotter_IO_Validator::HT_XOM_Plotter_IO_Validator(HT_Std_Plotter_Definition* definition)
    : HT_Std_Plotter_IO_Validator(definition) {}
bool HT_XOM_Plotter_IO_Validator::validate_portname_and_type(HT_Validation_Strategy strategy) {
    return HT_Std_Plotter_IO_Validator::validate_portname_and_type(strategy);
}
