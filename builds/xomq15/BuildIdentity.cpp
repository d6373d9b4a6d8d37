// Build xomq15: the driver for host SDK generation 15, with its version texts and file names.
#include "Common/XOM/BuildInfo.h"

const HT_Driver_Identity& XomBuildIdentity() {
    static const HT_Driver_Identity identity{"15.0.0.0", "xomq15.hdi", "1.0.24.x64", "xomq15.drc",
                                             15};
    return identity;
}
