#pragma once
// A device that records what the host's standard routines hand back to it.
#include <cstdint>
#include <vector>

#include "hdi/HT_Plotter_Device_Data.h"

struct RecordedPrimitive {
    HT_Rendition rendition;
    std::vector<HT_DCI_Point> points;
    bool has_colour = false;
    HT_RGB colour{};
};

struct RecordedImage {
    int kind = 0;
    HT_DCI_Point corner1{};
    HT_DCI_Point corner2{};
    int row_bytes = 0;
    std::uint8_t flags = 0;
    std::vector<std::uint8_t> pixels;  // rows of row_bytes, top first
};

class FakeDevice : public HT_Plotter_Device_Data {
  public:
    explicit FakeDevice(bool with_polygon_action = true) {
        m_actions.draw_dci_polyline.set(this, &FakeDevice::Polyline);
        if (with_polygon_action) m_actions.draw_dci_polygon.set(this, &FakeDevice::Polygon);
    }
    std::vector<RecordedPrimitive> polylines;
    std::vector<RecordedPrimitive> polygons;
    std::vector<RecordedImage> images;

    // Records the integer-coordinate image actions (rgb32, index8, bitonal).
    void record_images() {
        m_actions.draw_dci_rgb32_image.set(this, &FakeDevice::Rgb32);
        m_actions.draw_dci_index8_image.set(this, &FakeDevice::Index8);
        m_actions.draw_dci_bitonal_image.set(this, &FakeDevice::Bitonal);
    }

  private:
    static void Keep(HT_Renderer_Data* d, int kind, const HT_DCI_Point& c1, const HT_DCI_Point& c2,
                     int row_bytes, const std::uint8_t* pixels, std::uint8_t flags) {
        const auto rows = static_cast<std::size_t>(c1.y - c2.y + 1);
        const auto* end = pixels + rows * static_cast<std::size_t>(row_bytes);
        static_cast<FakeDevice*>(d)->images.push_back(
            {kind, c1, c2, row_bytes, flags, {pixels, end}});
    }
    static void Rgb32(HT_Renderer_Data* d, const HT_Rendition&, const HT_DCI_Point& c1,
                      const HT_DCI_Point& c2, int row_bytes, const std::uint8_t* pixels) {
        Keep(d, HT_IMAGE_KIND_RGB32, c1, c2, row_bytes, pixels, 0);
    }
    static void Index8(HT_Renderer_Data* d, const HT_Rendition&, const HT_DCI_Point& c1,
                       const HT_DCI_Point& c2, int row_bytes, const std::uint8_t* pixels) {
        Keep(d, HT_IMAGE_KIND_INDEX8, c1, c2, row_bytes, pixels, 0);
    }
    static void Bitonal(HT_Renderer_Data* d, const HT_Rendition&, const HT_DCI_Point& c1,
                        const HT_DCI_Point& c2, int row_bytes, const std::uint8_t* pixels,
                        std::uint8_t flags) {
        Keep(d, HT_IMAGE_KIND_BITONAL, c1, c2, row_bytes, pixels, flags);
    }
    static void Polyline(HT_Renderer_Data* d, const HT_Rendition& r, int n, const HT_DCI_Point* p) {
        static_cast<FakeDevice*>(d)->polylines.push_back({r, {p, p + n}, false, {}});
    }
    static void Polygon(HT_Renderer_Data* d, const HT_Rendition& r, int n, const HT_DCI_Point* p,
                        const HT_RGB* c) {
        static_cast<FakeDevice*>(d)->polygons.push_back(
            {r, {p, p + n}, c != nullptr, c ? *c : HT_RGB{}});
    }
};
