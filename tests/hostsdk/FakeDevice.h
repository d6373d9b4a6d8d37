#pragma once
// A device that records what the host's standard routines hand back to it.
#include <vector>

#include "hdi/HT_Plotter_Device_Data.h"

struct RecordedPrimitive {
    HT_Rendition rendition;
    std::vector<HT_DCI_Point> points;
    bool has_colour = false;
    HT_RGB colour{};
};

class FakeDevice : public HT_Plotter_Device_Data {
  public:
    explicit FakeDevice(bool with_polygon_action = true) {
        m_actions.draw_dci_polyline.set(this, &FakeDevice::Polyline);
        if (with_polygon_action) m_actions.draw_dci_polygon.set(this, &FakeDevice::Polygon);
    }
    std::vector<RecordedPrimitive> polylines;
    std::vector<RecordedPrimitive> polygons;

  private:
    static void Polyline(HT_Renderer_Data* d, const HT_Rendition& r, int n, const HT_DCI_Point* p) {
        static_cast<FakeDevice*>(d)->polylines.push_back({r, {p, p + n}, false, {}});
    }
    static void Polygon(HT_Renderer_Data* d, const HT_Rendition& r, int n, const HT_DCI_Point* p,
                        const HT_RGB* c) {
        static_cast<FakeDevice*>(d)->polygons.push_back(
            {r, {p, p + n}, c != nullptr, c ? *c : HT_RGB{}});
    }
};
