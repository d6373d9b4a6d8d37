#pragma once
// A DXF drawing as read, before blocks are expanded: its layers, line types, blocks and entities
// in drawing units. DxfReader fills it; DxfFlatten turns it into plotted primitives.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace xomplot::dxf {

struct Point {
    double x = 0;
    double y = 0;
};

// The properties every entity carries (group codes 8, 62, 420, 370, 6, 48).
struct Properties {
    std::string layer = "0";
    int aci = 256;          // 0 by block, 256 by layer, 1-255 an index
    std::int32_t rgb = -1;  // true colour 0xRRGGBB, -1 none
    int weight = -1;        // 1/100 mm; -1 by layer, -2 by block, -3 the default
    std::string linetype = "BYLAYER";
    double linetype_scale = 1.0;
};

enum class EntityKind {
    Line,
    Point,
    Polyline,  // LWPOLYLINE and 2D POLYLINE: vertices with bulges
    Circle,
    Arc,
    Ellipse,
    Spline,
    Solid,  // SOLID, TRACE, 3DFACE: filled or outlined quadrilaterals
    Face,
    Insert,
    Text,
    MText,
    Hatch
};

struct Vertex {
    Point p;
    double bulge = 0;
};

// One line family of a hatch pattern as the file gives it (already turned and scaled).
struct HatchPatternLine {
    double angle_deg = 0;
    Point base, offset;
    std::vector<double> dashes;  // + drawn, - gap, 0 dot; empty: continuous
};

struct HatchLoop {
    std::vector<Vertex> vertices;  // closed
};

struct TextData {
    std::string text;  // UTF-8 (checked when drawn)
    double height = 1;
    double width_factor = 1;
    double angle_deg = 0;
    int halign = 0;        // TEXT 72: 0 left, 1 centre, 2 right, 3 aligned, 4 middle, 5 fit
    int valign = 0;        // TEXT 73: 0 baseline, 1 bottom, 2 middle, 3 top
    int attachment = 1;    // MTEXT 71: 1-9, top left to bottom right
    double box_width = 0;  // MTEXT reference width: paragraphs wrap at it; 0 no wrapping
    double line_spacing = 1;
    Point second;  // TEXT alignment point
};

struct Entity {
    EntityKind kind = EntityKind::Line;
    Properties props;
    std::vector<Vertex> points;  // geometry by kind (see DxfReader.cpp)
    bool closed = false;
    bool mirrored = false;  // extrusion (0,0,-1): the object coordinates are mirrored in x
    double width = 0;       // polyline constant width, drawing units
    // Polyline start and end widths of each vertex's segment when they vary; empty: `width`.
    std::vector<std::pair<double, double>> widths;
    double radius = 0, ratio = 1, start = 0,
           end = 0;  // circles, arcs (degrees), ellipses (radians)
    Point axis;      // ellipse major axis
    // SPLINE
    int degree = 3;
    std::vector<double> knots, weights;
    std::vector<Point> fit;
    Point start_tangent, end_tangent;  // of a spline through fit points; (0,0) not given
    // INSERT
    std::string block;
    double sx = 1, sy = 1, angle = 0;
    int cols = 1, rows = 1;
    double col_spacing = 0, row_spacing = 0;
    // TEXT, MTEXT
    TextData text;
    // HATCH
    bool solid_fill = false;
    std::string pattern;
    double pattern_angle = 0, pattern_scale = 1;
    std::vector<HatchPatternLine> definition;
    std::vector<HatchLoop> loops;
};

struct Layer {
    int aci = 7;
    std::int32_t rgb = -1;
    bool off = false;
    bool frozen = false;
    int weight = -3;
    std::string linetype = "CONTINUOUS";
};

struct Block {
    Point base;
    std::vector<Entity> entities;
};

struct Document {
    std::string version;  // $ACADVER
    int insunits = 0;
    double ltscale = 1.0;
    std::map<std::string, Layer> layers;                   // names upper case
    std::map<std::string, std::vector<double>> linetypes;  // dashes: + drawn, - gap, 0 dot
    std::map<std::string, Block> blocks;
    std::vector<Entity> entities;                  // model space
    std::map<std::string, std::size_t> not_drawn;  // entity name -> count
    std::vector<std::string> warnings;
};

}  // namespace xomplot::dxf
