#pragma once
// What this build of the driver reports about itself: HDI version, file names, driver version and
// host SDK generation. Each build links its own definition; the driver's sources are shared.
#include "hdi/HT_Driver_Module.h"

const HT_Driver_Identity& XomBuildIdentity();
