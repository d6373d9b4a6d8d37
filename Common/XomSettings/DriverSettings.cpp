#include "Common/XomSettings/DriverSettings.h"

DriverSettings& CurrentDriverSettings() {
    static DriverSettings settings;
    return settings;
}
