#pragma once
// A drawing for xomplot: the host drawing actions of one picture, each with its own rendition.
#include <memory>
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
    Ellipse,
    Image
};

// How an image line is handed to the device.
enum class ImageKind { Rgb32, Index8, Bitonal, General };

struct RgbaImage;

struct DrawingImage {
    ImageKind kind = ImageKind::Rgb32;
    int x = 0;  // lower-left corner, dots
    int y = 0;
    int width = 0;  // dots
    int height = 0;
    int threshold = 128;             // bitonal: luminance below this is ink
    std::string path;                // as written in the drawing
    std::string resolved_path;       // relative to the drawing's folder
    std::shared_ptr<RgbaImage> png;  // loaded by LoadDrawingImages
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
    DrawingImage image;  // Image only

    // The rendition the host hands to the device for this action.
    HT_Rendition rendition() const;
    const HT_RGB* colour() const { return has_rgb ? &color.rgb : nullptr; }
};

struct Drawing {
    std::string name;  // from the "drawing" header line; empty when there is none
    std::vector<DrawingAction> actions;
};

}  // namespace xomplot
