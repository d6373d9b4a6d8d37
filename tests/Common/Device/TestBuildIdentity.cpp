// The identity of the driver as the tests link it: generation 15, like the host stand-in they use.
#include "Common/XOM/BuildInfo.h"

const HT_Driver_Identity& XomBuildIdentity() {
    static const HT_Driver_Identity identity{"15.0.0.0", "xomq15.hdi", "1.0.24.x64", "xomq15.drc",
                                             15};
    return identity;
}
