// Build xomq14: the driver for host SDK generation 14, with its version texts and file names.
#include "Common/XOM/BuildInfo.h"

const HT_Driver_Identity& XomBuildIdentity() {
    static const HT_Driver_Identity identity{"14.0.0.0", "xomq14.hdi", "1.0.24.x64", "xomq14.drc",
                                             14};
    return identity;
}
