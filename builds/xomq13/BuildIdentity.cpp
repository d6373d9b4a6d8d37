// Build xomq13: the driver for host SDK generation 13, with its version texts and file names.
#include "Common/XOM/BuildInfo.h"

const HT_Driver_Identity& XomBuildIdentity() {
    static const HT_Driver_Identity identity{"13.0.0.0", "xomq13.hdi", "1.0.24.x64", "xomq13.drc",
                                             13};
    return identity;
}
