// Build xomq12: the driver for host SDK generation 12, with its version texts and file names.
#include "Common/XOM/BuildInfo.h"

const HT_Driver_Identity& XomBuildIdentity() {
    static const HT_Driver_Identity identity{"12.0.51.0", "xomq12.hdi", "1.0.24.x64", "xomq12.drc",
                                             12};
    return identity;
}
