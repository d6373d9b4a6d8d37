#pragma once

#include <cstdint>

// One point of a device-coordinate polyline, polygon or dot as the host hands it to the driver:
// x and y in device dots (origin at the printable area's lower left); z is carried along by the
// host and ignored by every writer.
struct DciPoint {
    int32_t x;
    int32_t y;
    int32_t z;
};

static_assert(sizeof(DciPoint) == 12, "host arrays of points are read with this stride");
