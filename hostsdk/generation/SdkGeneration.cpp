// The generation unit of one host SDK library: compiled once per generation with its number and
// version text, so the four libraries differ only here.
#include "hdi/HT_Driver_Module.h"

#ifndef HT_SDK_GENERATION_NUMBER
#error "HT_SDK_GENERATION_NUMBER must be defined by the build"
#endif
#ifndef HT_SDK_VERSION_STRING
#error "HT_SDK_VERSION_STRING must be defined by the build"
#endif

extern "C" int HT_SDK_Generation() {
    return HT_SDK_GENERATION_NUMBER;
}
extern "C" const char* HT_SDK_Version_Text() {
    return HT_SDK_VERSION_STRING;
}
