#pragma once
// Expands a DXF document's model space into primitives in drawing units: blocks inserted (nested,
// scaled, turned, arrayed), curves tessellated, and each primitive with the colour, weight and
// line type its entity, layer and inserting block give it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/xomplot/DxfDocument.h"

namespace xomplot::dxf {

struct Style {
    int aci = 7;            // 1-255
    std::int32_t rgb = -1;  // true colour, -1 none
    double weight_mm = 0.25;
    std::vector<double> dashes;  // drawing units, scaled; empty: continuous
};

struct Primitive {
    enum Kind { Path, Fill, Dot } kind = Path;
    std::vector<std::vector<Point>> contours;  // Path: one; Fill: outlines (even-odd)
    Style style;
    double width = 0;  // a wide polyline's width in drawing units; 0: the line weight
};

// Turns a text into filled outlines: contours in text units (1 = the text height), the first
// baseline at y = 0, advancing along +x. False when it cannot.
using TextOutliner =
    std::function<bool(const std::string& utf8, double width_factor,
                       std::vector<std::vector<Point>>& contours, double& width, std::string& why)>;

struct FlattenLimits {
    std::size_t max_points = 50000000;
    int max_depth = 64;
    std::size_t max_array = 1000000;  // rows x columns of one INSERT
};

struct Flattened {
    std::vector<Primitive> primitives;
    std::vector<std::string> warnings;
};

// tolerance: the largest chord error in drawing units. False with the reason for a drawing that
// cannot be expanded (a block that inserts itself, too many primitives).
bool Flatten(const Document& doc, double tolerance, const TextOutliner& text,
             const FlattenLimits& limits, Flattened& out, std::string& error);

}  // namespace xomplot::dxf
