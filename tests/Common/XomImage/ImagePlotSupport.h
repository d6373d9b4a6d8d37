#pragma once
// What the image tests of the device share: page set-ups, the rasters of a job and where the pen
// stood when a raster began.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Common/XOM/PlotStreamState.h"
#include "DeviceTestSupport.h"
#include "support/PclRasterDecoder.h"
#include "support/PeDecoder.h"

namespace imagetest {

inline PlotSetup Landscape(const std::wstring& mode = L"Color") {
    PlotSetup s;
    s.widthMm = 297;
    s.lengthMm = 210;
    s.colorMode = mode;
    return s;
}

inline PlotSetup Portrait(const std::wstring& mode = L"Color") {
    PlotSetup s;
    s.colorMode = mode;
    return s;
}

inline std::vector<xomtest::PclRasterImage> Rasters(const std::string& bytes) {
    std::vector<xomtest::PclRasterImage> images;
    std::string error;
    EXPECT_TRUE(xomtest::ReadPclRasters(bytes, images, error)) << error;
    return images;
}

// Where the pen stood (in drawing dots) when the raster began.
inline PePoint StartCorner(const std::string& bytes, const xomtest::PclRasterImage& image) {
    PeFrame frame;
    frame.rotate = g_plotStream.rotate != 0;
    frame.mediaLengthDots = g_plotStream.mediaLengthDots;
    frame.offsetX = g_plotStream.offsetX;
    frame.offsetY = g_plotStream.offsetY;
    const PeDecodeResult pe = DecodePeStream(bytes.substr(0, image.startOffset), frame);
    EXPECT_TRUE(pe.ok) << pe.error;
    return pe.points.empty() ? PePoint{} : pe.points.back();
}

}  // namespace imagetest
