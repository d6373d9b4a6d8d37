#pragma once
// A drawing for xomplot: the host drawing actions of one picture, each with its own rendition.
#include <string>
#include <vector>

#include "hdi/HT_Geometry.h"
#include "hdi/HT_Rendition.h"

namespace xomplot {

enum class ActionKind {
    DciPolyline,
    DcPolyline,
    DciPolygon,
    DcPolygon,
    TriangleStrip,
    Dot,
    Ellipse
};

struct DrawingAction {
    ActionKind kind = ActionKind::DciPolyline;
    int source_line = 0;
    HT_Line_Rendition line;
    HT_Face_Rendition face;
    HT_Color_Rendition color;
    bool has_rgb = false;  // an explicit colour is handed to fills, dots and ellipses too
    bool has_clip = false;
    HT_Contour_Set_Data clip;
    std::vector<HT_DCI_Point> dci;  // integer kinds; ellipse: centre, radii
    std::vector<HT_DC_Point> dc;    // float kinds
    float start = 0.0f;             // ellipse angles in radians
    float end = 6.2831854820251465f;
    bool arc = false;  // start or end given: the outline of an elliptical arc, not a filled ellipse

    // The rendition the host hands to the device for this action.
    HT_Rendition rendition() const;
    const HT_RGB* colour() const { return has_rgb ? &color.rgb : nullptr; }
};

struct Drawing {
    std::string name;  // from the "drawing" header line; empty when there is none
    std::vector<DrawingAction> actions;
};

}  // namespace xomplot
