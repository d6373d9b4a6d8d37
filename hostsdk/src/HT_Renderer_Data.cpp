// The renderer's dispatch: a device's enabled action, else the host's standard routine.
#include "hdi/HT_Plotter_Device_Data.h"

namespace {
template <class Handler>
HT_Renderer_Data* OwnerOr(const HT_Action<Handler>& a, HT_Renderer_Data* self) {
    return a.owner ? a.owner : self;
}
}  // namespace

void HT_Renderer_Data::set_standard_actions(bool on) {
    m_actions = HT_Action_Table{};
    if (!on) return;
    m_actions.draw_dc_polyline.set(this, HD_Standard_Draw_DC_Polyline);
    m_actions.draw_dc_colorized_polyline.set(this, HD_Standard_Draw_DC_Polyline);
    m_actions.draw_dci_polyline.set(this, HD_Standard_Draw_DCI_Polyline);
    m_actions.draw_dci_colorized_polyline.set(this, HD_Standard_Draw_DCI_Polyline);
    m_actions.draw_dc_polygon.set(this, HD_Standard_Draw_DC_Polygon);
    m_actions.draw_dci_polygon.set(this, HD_Standard_Draw_DCI_Polygon);
    m_actions.draw_dci_polytriangle.set(this, HD_Standard_Draw_DCI_Polytriangle);
    m_actions.draw_dci_ellipse.set(this, HD_Standard_Draw_DCI_Ellipse);
    m_actions.draw_dci_elliptical_arc.set(this, HD_Standard_Draw_DCI_Elliptical_Arc);
    m_actions.draw_dci_image.set(this, HD_Standard_Draw_DCI_Image);
    m_actions.draw_dc_bitonal_image.set(this, HD_Standard_Draw_DC_Bitonal_Image);
    m_actions.draw_dc_index8_image.set(this, HD_Standard_Draw_DC_Index8_Image);
    m_actions.draw_dc_rgb32_image.set(this, HD_Standard_Draw_DC_RGB32_Image);
    // The integer-coordinate image kinds have no standard routine: a device draws them itself.
}

void HT_Renderer_Data::draw_dc_polyline(const HT_Rendition& r, int count,
                                        const HT_DC_Point* points) {
    const auto& a = m_actions.draw_dc_polyline;
    if (a.enabled && a.handler)
        a.handler(OwnerOr(a, this), r, count, points);
    else
        HD_Standard_Draw_DC_Polyline(this, r, count, points);
}

void HT_Renderer_Data::draw_dci_polyline(const HT_Rendition& r, int count,
                                         const HT_DCI_Point* points) {
    const auto& a = m_actions.draw_dci_polyline;
    if (a.enabled && a.handler)
        a.handler(OwnerOr(a, this), r, count, points);
    else
        HD_Standard_Draw_DCI_Polyline(this, r, count, points);
}

void HT_Renderer_Data::draw_dc_polygon(const HT_Rendition& r, int count, const HT_DC_Point* points,
                                       const HT_RGB* colour) {
    const auto& a = m_actions.draw_dc_polygon;
    if (a.enabled && a.handler)
        a.handler(OwnerOr(a, this), r, count, points, colour);
    else
        HD_Standard_Draw_DC_Polygon(this, r, count, points, colour);
}

void HT_Renderer_Data::draw_dci_polygon(const HT_Rendition& r, int count,
                                        const HT_DCI_Point* points, const HT_RGB* colour) {
    const auto& a = m_actions.draw_dci_polygon;
    if (a.enabled && a.handler)
        a.handler(OwnerOr(a, this), r, count, points, colour);
    else
        HD_Standard_Draw_DCI_Polygon(this, r, count, points, colour);
}

void HT_Renderer_Data::draw_dci_polytriangle(const HT_Rendition& r, int count,
                                             const HT_DCI_Point* points) {
    const auto& a = m_actions.draw_dci_polytriangle;
    if (a.enabled && a.handler)
        a.handler(OwnerOr(a, this), r, count, points);
    else
        HD_Standard_Draw_DCI_Polytriangle(this, r, count, points);
}

void HT_Renderer_Data::draw_dci_dot(const HT_Rendition& r, const HT_DCI_Point& point,
                                    const HT_RGB* colour) {
    const auto& a = m_actions.draw_dci_dot;
    if (a.enabled && a.handler) {
        a.handler(OwnerOr(a, this), r, point, colour);
        return;
    }
    // No dot action: the host draws a zero-length stroke of the line weight.
    if (r.clip && !r.clip->point_inside(static_cast<float>(point.x), static_cast<float>(point.y)))
        return;
    HT_Rendition solid = r;
    solid.clip = nullptr;
    solid.line.pattern = 0;
    if (colour) solid.color.rgb = *colour;
    const HT_DCI_Point pair[2] = {point, point};
    HD_Standard_Draw_DCI_Polyline(this, solid, 2, pair);
}

void HT_Renderer_Data::draw_dci_ellipse(const HT_Rendition& r, const HT_DCI_Point& centre,
                                        const HT_DCI_Point& radii, float start, float end,
                                        const HT_RGB* colour) {
    const auto& a = m_actions.draw_dci_ellipse;
    if (a.enabled && a.handler)
        a.handler(OwnerOr(a, this), r, centre, radii, start, end, colour);
    else
        HD_Standard_Draw_DCI_Ellipse(this, r, centre, radii, start, end, colour);
}

void HT_Renderer_Data::draw_dci_elliptical_arc(const HT_Rendition& r, const HT_DCI_Point& centre,
                                               const HT_DCI_Point& radii, float start, float end) {
    const auto& a = m_actions.draw_dci_elliptical_arc;
    if (a.enabled && a.handler)
        a.handler(OwnerOr(a, this), r, centre, radii, start, end);
    else
        HD_Standard_Draw_DCI_Elliptical_Arc(this, r, centre, radii, start, end);
}

void HT_Renderer_Data::draw_dci_image(const HT_Rendition& r, const HT_DCI_Point& position,
                                      const HT_Image& image) {
    const auto& a = m_actions.draw_dci_image;
    if (a.enabled && a.handler)
        a.handler(OwnerOr(a, this), r, position, image);
    else
        HD_Standard_Draw_DCI_Image(this, r, position, image);
}

HT_Plotter_Device_Data::HT_Plotter_Device_Data() = default;
HT_Plotter_Device_Data::~HT_Plotter_Device_Data() = default;
