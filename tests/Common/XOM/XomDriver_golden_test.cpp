#include "Common/XOM/XomDriver.h"

#include <gtest/gtest.h>

#include <string>

#include "Common/XOM/VectorHandlers.h"
#include "DeviceTestSupport.h"
#include "support/ByteDiff.h"
#include "support/GoldenFile.h"

namespace {

HT_DCI_Point P(int x, int y) {
    return {x, y, 0};
}

// A small drawing taken through the device as a host draws it: lines of two weights and cap
// styles, a filled triangle, a dot, a filled circle, a floating-point polyline and a triangle
// strip, in three colours. Landscape A4 at 600 dpi with 5 mm margins, colour mode "Color".
std::string PlotSmallDrawing() {
    PlotObserver seen;
    PlotSetup setup;
    setup.widthMm = 297;
    setup.lengthMm = 210;
    HostPlot plot(setup);
    plot.Begin(L"Golden.dwg", L"Q Plotter");
    XOM_Driver* d = plot.device.get();

    HT_Rendition r = SolidRendition(6);
    const HT_DCI_Point zigzag[] = {P(0, 0), P(600, 300), P(1200, 0)};
    DrawDciPolyline(d, r, 3, zigzag);

    r = SolidRendition(3);
    r.line.start_cap = r.line.end_cap = HT_CAP_BUTT;
    r.line.join = HT_JOIN_MITER;
    r.color.rgb = HT_RGB{0, 0, 255, 0};  // red
    const HT_DCI_Point frame[] = {P(100, 1000), P(2000, 1000), P(2000, 2000), P(100, 2000),
                                  P(100, 1000)};
    DrawDciPolyline(d, r, 5, frame);

    const HT_RGB blue{255, 0, 0, 0};
    const HT_DCI_Point triangle[] = {P(300, 1200), P(900, 1200), P(600, 1800)};
    DrawDciPolygon(d, SolidRendition(), 3, triangle, &blue);

    DrawDciDot(d, SolidRendition(10), P(1500, 1500), nullptr);

    r = SolidRendition(4);
    r.color.rgb = HT_RGB{0, 255, 0, 0};  // green
    DrawDciEllipse(d, r, P(1700, 500), P(20, 20), 0.0f, 6.2831854820251465f, nullptr);

    const HT_DC_Point curve[] = {{2500.4f, 100.5f, 0}, {2600.6f, 180.2f, 0}, {2700.5f, 100.49f, 0}};
    DrawDcPolyline(d, SolidRendition(2), 3, curve);

    r = SolidRendition();
    r.color.rgb = HT_RGB{128, 128, 128, 0};
    const HT_DCI_Point strip[] = {P(3000, 0), P(3000, 400), P(3400, 0), P(3400, 400)};
    DrawDciPolytriangle(d, r, 4, strip);

    plot.device->end_picture();
    return plot.output().bytes;
}

TEST(DeviceJobStream, SmallDrawingMatchesTheGoldenJob) {
    const std::string path = std::string(XOM_DEVICE_GOLDEN_DIR) + "/small_drawing.job";
    const std::string actual = PlotSmallDrawing();
    // An update rewrites the file and the comparison below still runs (and passes); the tests that
    // decode the job check what it holds.
    RewriteGoldenIfAsked(path, actual);
    const std::string expected = ReadGoldenFile(path);
    ASSERT_FALSE(expected.empty()) << "missing golden file " << path;
    EXPECT_TRUE(BytesEqual(actual, expected));
}

// The opening block, field by field, so a change there is named rather than shown as an offset.
TEST(DeviceJobStream, OpeningBlockOfTheGoldenJob) {
    const std::string job = PlotSmallDrawing();
    std::size_t at = 0;
    auto expect = [&](const std::string& field, const char* what) {
        EXPECT_EQ(job.substr(at, field.size()), field) << what << " at offset " << at;
        at += field.size();
    };
    // Job prefix: the XML ticket (a plot to a port carries it), then the PJL header.
    const std::string ticketEnd = "</PrintJob>\r\n";
    const std::size_t ticketLength = job.find(ticketEnd) + ticketEnd.size();
    ASSERT_NE(job.find(ticketEnd), std::string::npos) << "no job ticket";
    const std::string ticket = job.substr(0, ticketLength);
    expect("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n", "XML declaration");
    EXPECT_NE(ticket.find("  CreationDate=\"2024-03-09T14:05:07\"\r\n"), std::string::npos)
        << "ticket time from the plot clock";
    EXPECT_NE(ticket.find("  <JobName>Golden.dwg</JobName>\r\n"), std::string::npos);
    EXPECT_NE(ticket.find("  <ColorMode>Color</ColorMode>\r\n"), std::string::npos);
    EXPECT_NE(ticket.find("    <NumberOfCopies>1</NumberOfCopies>\r\n"), std::string::npos);
    at = ticketLength;
    expect("\x1b%-12345X", "Universal Exit Language, right after the ticket's last line feed");
    expect("@PJL COMMENT Source=AutoCAD\r\n", "source");
    expect("@PJL COMMENT ComputerUserName=tester\r\n", "user name from USERNAME");
    expect("@PJL COMMENT Drawing=Golden.dwg\r\n", "drawing");
    expect("@PJL COMMENT SourceProductName=AutoCAD\r\n", "host product (no target device line)");
    expect("@PJL COMMENT Time=2024-03-09 14:05:07\r\n", "plot clock");
    expect("@PJL COMMENT DriverVersion:xomq 1.0.24.x64  HDI:15.0.0.0\r\n", "build identity");
    expect("@PJL SET RESOLUTION = 600\r\n", "resolution");
    expect("@PJL ENTER LANGUAGE = HPGL2\r\n", "HP-GL/2 follows");
    expect(
        "\x1b"
        "E",
        "reset");
    expect("\x1b%0BBP5,1;", "enter HP-GL/2, begin plot with autorotation off");
    expect("PS8400,11880;", "plot size: length then width, 210 and 297 mm in plotter units");
    expect("RO0", "no rotation");
    expect("TR0MC0", "transparency and merge off");
    expect("SC0,1.693333,0,1.693333,2;", "one user unit is one dot at 600 dpi");
    expect("CR0,255,0,255,0,255", "colour range");
    EXPECT_EQ(job.substr(job.size() - 11),
              ";PUSP0PG;\x1b"
              "E")
        << "closing";
}

}  // namespace
