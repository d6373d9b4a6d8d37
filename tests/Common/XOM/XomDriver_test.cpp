#include "Common/XOM/XomDriver.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "Common/XOM/DriverApp.h"
#include "Common/XOM/PlotLogRecord.h"
#include "Common/XOM/PlotStreamState.h"
#include "Common/XOM/VectorHandlers.h"
#include "Common/XomSettings/DriverSettings.h"
#include "Common/xomOutput/OutputChannel.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "DeviceTestSupport.h"
#include "platform/Utf8.h"
#include "support/HpglTokenizer.h"

namespace {

HT_DCI_Point P(int x, int y) {
    return {x, y, 0};
}

void DrawLine(XOM_Driver& device, int x0, int y0, int x1, int y1, int weight = 1) {
    const HT_DCI_Point pts[] = {P(x0, y0), P(x1, y1)};
    DrawDciPolyline(&device, SolidRendition(weight), 2, pts);
}

bool Contains(const std::string& bytes, const char* text) {
    return bytes.find(text) != std::string::npos;
}

// ---------------------------------------------------------------------------------------------
// Picture outcomes

TEST(XomDriverPicture, EmptyPlotSendsNothingAndEndsPlotIsEmpty) {
    PlotObserver seen;
    HostPlot plot;
    plot.Begin();
    plot.device->end_picture();

    EXPECT_TRUE(plot.output().bytes.empty()) << "an empty plot must not send the opening block";
    EXPECT_EQ(plot.output().writes, 0);
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], L"Plot is empty.");
    EXPECT_EQ(seen.loggedBytes[0], 0u);
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_EQ(seen.messages[0].text, L"Plot is empty.");
    EXPECT_EQ(seen.messages[0].caption, L"XOM Printer Message");
    // The host's error list gets the same message first, with the stop icon.
    ASSERT_EQ(plot.errors->messages().size(), 1u);
    EXPECT_EQ(plot.errors->messages()[0].icon, HT_ICON_STOP);
    EXPECT_EQ(plot.monitor->aborts, 1);
    EXPECT_EQ(plot.output().closes, 1);
}

TEST(XomDriverPicture, DrawnPlotIsFramedAndComplete) {
    PlotObserver seen;
    HostPlot plot;
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    plot.device->end_picture();

    const std::string& bytes = plot.output().bytes;
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 5), "<?xml") << "a plot to a port starts with the job ticket";
    EXPECT_NE(bytes.find("@PJL ENTER LANGUAGE = HPGL2\r\n\x1b"
                         "E"),
              std::string::npos)
        << "the PJL header leads into the HP-GL/2 reset";
    EXPECT_EQ(bytes.substr(bytes.size() - 11),
              ";PUSP0PG;\x1b"
              "E");
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], L"Plot complete");
    EXPECT_EQ(seen.loggedBytes[0], bytes.size());
    EXPECT_TRUE(seen.messages.empty());
    EXPECT_EQ(plot.monitor->aborts, 0);
    EXPECT_EQ(plot.output().closes, 1);
    EXPECT_EQ(OutputErrorState(), 0u);
}

TEST(XomDriverPicture, CancelDuringDrawingEndsThePictureOnce) {
    PlotObserver seen;
    HostPlot plot;
    plot.monitor->cancelAtPoll = 2;
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    DrawLine(*plot.device, 0, 10, 100, 10);  // the poll after this one reports the cancel
    ASSERT_TRUE(plot.device->plot_cancelled());
    ASSERT_TRUE(plot.device->picture_ended());
    const std::string sent = plot.output().bytes;
    const int polls = plot.monitor->polls;

    DrawLine(*plot.device, 0, 20, 100, 20);
    const HT_DCI_Point tri[] = {P(0, 0), P(10, 0), P(0, 10)};
    DrawDciPolygon(plot.device.get(), SolidRendition(), 3, tri, nullptr);
    EXPECT_EQ(plot.output().bytes, sent) << "drawing after a cancel must do nothing";
    EXPECT_EQ(plot.monitor->polls, polls);

    plot.device->end_picture();  // the host's own end of the same picture
    ASSERT_EQ(seen.loggedStatus.size(), 1u) << "the plot must be recorded once";
    EXPECT_EQ(seen.loggedStatus[0], L"Plot canceled");
    EXPECT_FALSE(Contains(plot.output().bytes, ";PUSP0PG;"));
    EXPECT_EQ(plot.monitor->aborts, 1);
    EXPECT_EQ(plot.output().closes, 0) << "a cancelled plot leaves the output object open";
}

TEST(XomDriverPicture, ShortWriteDropsLaterBytesAndEndsWithTheOutputsError) {
    PlotObserver seen;
    HostPlot plot;
    plot.output().shortWriteAt = 4;
    plot.Begin();
    for (int i = 0; i < 20; ++i) DrawLine(*plot.device, 0, i * 10, 500, i * 10 + 3, 1 + i % 3);
    EXPECT_TRUE(plot.device->output_failed());
    EXPECT_EQ(OutputErrorState(), 1u);
    EXPECT_EQ(plot.output().writes, 4) << "nothing may be written after the failed write";
    plot.device->end_picture();

    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], plot.output().writeError) << "a failure, not a cancel";
    // The failed write is counted in full; nothing after it.
    EXPECT_EQ(seen.loggedBytes[0], plot.output().requested);
    EXPECT_GE(plot.monitor->aborts, 1);
    EXPECT_FALSE(Contains(plot.output().bytes, ";PUSP0PG;"));
}

TEST(XomDriverPicture, FailedClosingWriteIsNotReportedComplete) {
    PlotObserver seen;
    HostPlot plot;
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    plot.output().shortWriteAt = plot.output().writes + 1;  // the closing commands fail
    plot.device->end_picture();
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], plot.output().writeError);
    EXPECT_EQ(plot.monitor->aborts, 1);
    EXPECT_EQ(plot.output().closes, 0) << "an incomplete job is never closed as if delivered";
}

// The close is part of the outcome: a destination that fails at its close (a print command
// that exits non-zero) makes the plot a failure, and the record says so.
TEST(XomDriverPicture, FailedCloseIsRecordedAsAFailure) {
    PlotObserver seen;
    HostPlot plot;
    plot.output().closeResult = false;
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    plot.device->end_picture();
    EXPECT_EQ(plot.output().closes, 1);
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], L"print command exited with status 3");
    EXPECT_EQ(plot.device->output_failure(), L"print command exited with status 3");
    EXPECT_EQ(plot.monitor->aborts, 1);

    // Without a reason from the output object the failure is string 220.
    PlotObserver again;
    HostPlot mute;
    mute.output().closeResult = false;
    mute.output().closeError.clear();
    mute.Begin();
    DrawLine(*mute.device, 0, 0, 100, 0);
    mute.device->end_picture();
    ASSERT_EQ(again.loggedStatus.size(), 1u);
    EXPECT_EQ(again.loggedStatus[0], L"Printer connection failed");
}

// A cancel that the host notices after the last drawing action (it stops drawing because of
// it) is still a cancel: the picture's end asks the monitor once more.
TEST(XomDriverPicture, CancelAfterTheLastActionEndsCanceled) {
    PlotObserver seen;
    HostPlot plot;
    plot.monitor->cancelAtPoll = 2;  // the poll after the only line does not see it yet
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    ASSERT_FALSE(plot.device->picture_ended());
    plot.device->end_picture();
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], L"Plot canceled");
    EXPECT_FALSE(Contains(plot.output().bytes, ";PUSP0PG;"));
    EXPECT_EQ(plot.output().closes, 0);
    EXPECT_EQ(plot.monitor->aborts, 1);
}

TEST(XomDriverPicture, OutputThatCannotOpenRefusesThePicture) {
    PlotObserver seen;
    HostPlot plot;
    plot.output().openResult = false;
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    plot.device->end_picture();

    EXPECT_TRUE(plot.output().bytes.empty());
    ASSERT_EQ(plot.errors->reports().size(), 1u);
    EXPECT_EQ(plot.errors->reports()[0].message, HT_MSG_OUTPUT_CONNECTION_FAILED);
    EXPECT_EQ(plot.errors->reports()[0].function, "XOM_Driver::begin_picture");
    EXPECT_EQ(plot.errors->reports()[0].item, "m_plotter_io");
    ASSERT_EQ(seen.loggedStatus.size(), 1u);
    EXPECT_EQ(seen.loggedStatus[0], plot.output().openError) << "a failure, not a cancel";
}

TEST(XomDriverPicture, EndWithoutABegunPictureDoesNothing) {
    PlotObserver seen;
    HostPlot plot;
    plot.device->end_picture();
    EXPECT_TRUE(seen.loggedStatus.empty());
    EXPECT_TRUE(seen.messages.empty());
    EXPECT_EQ(plot.monitor->aborts, 0);
}

TEST(XomDriverPicture, SecondPictureOnTheSameDeviceStartsAfresh) {
    PlotObserver seen;
    HostPlot plot;
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    plot.device->end_picture();
    const std::size_t first = plot.output().bytes.size();

    plot.device->establish();
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    plot.device->end_picture();
    const auto second = TokenizeHpgl(std::string_view(plot.output().bytes).substr(first));
    ASSERT_TRUE(second.ok) << second.error;
    EXPECT_EQ(CountCommands(second.tokens, "NP"), 1u) << "each job tells the printer its pens";
    ASSERT_EQ(seen.loggedStatus.size(), 2u);
    EXPECT_EQ(seen.loggedStatus[1], L"Plot complete");
}

// ---------------------------------------------------------------------------------------------
// Plot-log record

TEST(XomDriverLogRecord, DestinationIsThePortTextOrTheOutputFile) {
    {
        PlotObserver seen;
        HostPlot plot;  // plot to a port
        plot.Begin();
        plot.device->end_picture();
        ASSERT_EQ(seen.loggedDestination.size(), 1u);
        EXPECT_EQ(seen.loggedDestination[0], L"Plot to Windows printer port");
    }
    {
        PlotObserver seen;
        PlotSetup setup;
        setup.plotToFile = true;
        setup.outputFile = L"/tmp/drawing-1.plt";
        HostPlot plot(setup);
        // configure ran before attach: the output object must still know the definition.
        EXPECT_TRUE(plot.output().is_plot_to_file());
        EXPECT_EQ(plot.output().output_name(), L"/tmp/drawing-1.plt");
        plot.Begin();
        plot.device->end_picture();
        ASSERT_EQ(seen.loggedDestination.size(), 1u);
        EXPECT_EQ(seen.loggedDestination[0], L"/tmp/drawing-1.plt");
    }
}

TEST(XomDriverLogRecord, DrawingNameDateAndPrinter) {
    PlotObserver seen;
    HostPlot plot;
    plot.Begin(L"", L"Q 42");
    EXPECT_EQ(CurrentPlotLogEntry().m_drawing, L"AutoCAD Drawing");
    EXPECT_EQ(CurrentPlotLogEntry().m_printer, L"Q 42");
    EXPECT_EQ(CurrentPlotLogEntry().m_dateTime, L"2024-03-09 14:05:07");
    plot.device->end_picture();
}

// ---------------------------------------------------------------------------------------------
// Set-up

TEST(XomDriverEstablish, GeometryIsRoundedAndScaled) {
    PlotSetup setup;
    setup.widthMm = 100.12344;
    setup.lengthMm = 200.12346;
    setup.marginLeft = setup.marginRight = setup.marginBottom = setup.marginTop = 5;
    HostPlot plot(setup);
    const XOM_Driver& d = *plot.device;
    EXPECT_DOUBLE_EQ(d.media_width_mm(), 100.1234);
    EXPECT_DOUBLE_EQ(d.media_length_mm(), 200.1235);
    EXPECT_EQ(d.horizontal_resolution(), 600);
    EXPECT_DOUBLE_EQ(g_plotStream.mediaWidth, 100.1234 / 25.4);
    EXPECT_DOUBLE_EQ(g_plotStream.printableLeft, 5 / 25.4);
    EXPECT_DOUBLE_EQ(g_plotStream.inchesPerDot, 1.0 / 600);
    EXPECT_EQ(g_plotStream.rotate, 1) << "media longer than wide is turned";

    const HT_Renderer_Options& o = d.renderer_options();
    // ceil(600 x (95.1234 - 5) / 25.4) and ceil(600 x (195.1235 - 5) / 25.4)
    EXPECT_EQ(o.window_width, static_cast<int>(std::ceil(600 * (95.1234 - 5) / 25.4)));
    EXPECT_EQ(o.window_height, static_cast<int>(std::ceil(600 * (195.1235 - 5) / 25.4)));
    EXPECT_EQ(o.bitonal_format, 3);
    EXPECT_DOUBLE_EQ(o.pattern_scale, 300.0);
    EXPECT_EQ(plot.device->plotter_options().true_arcs, 2);
    EXPECT_FALSE(plot.device->plotter_options().fat_dots_as_squares);
}

TEST(XomDriverEstablish, LandscapeMediaIsNotTurned) {
    PlotSetup setup;
    setup.widthMm = 297;
    setup.lengthMm = 210;
    HostPlot plot(setup);
    EXPECT_EQ(g_plotStream.rotate, 0);
    EXPECT_EQ(plot.device->renderer_options().window_width, 6780);   // ceil(600 x 287 / 25.4)
    EXPECT_EQ(plot.device->renderer_options().window_height, 4725);  // ceil(600 x 200 / 25.4)
}

TEST(XomDriverEstablish, NonsenseResolutionIsAHostError) {
    PlotSetup setup;
    setup.dpi = 0;
    try {
        HostPlot plot(setup);
        FAIL() << "establish accepted a resolution of 0";
    } catch (const HT_Error& e) {
        EXPECT_EQ(e.message(), HT_MSG_FILE_OR_VALUE_MISSING);
        EXPECT_EQ(e.item(), "resolution");
    }
}

TEST(XomDriverSetUp, ConstructionInstallsHandlersAndCountsDevices) {
    SPMP<HT_Plotter_Device_Data> device(HD_Create_Plotter_Device());
    ASSERT_TRUE(device);
    const HT_Action_Table& a = device->actions();
    EXPECT_TRUE(a.draw_dc_polyline.enabled && a.draw_dc_colorized_polyline.enabled);
    EXPECT_EQ(a.draw_dci_polyline.handler, &DrawDciPolyline);
    EXPECT_EQ(a.draw_dci_colorized_polyline.handler, &DrawDciPolyline);
    EXPECT_EQ(a.draw_dci_polygon.handler, &DrawDciPolygon);
    EXPECT_EQ(a.draw_dci_dot.handler, &DrawDciDot);
    EXPECT_EQ(a.draw_dci_ellipse.handler, &DrawDciEllipse);
    EXPECT_TRUE(a.nothing.enabled);
    EXPECT_EQ(a.draw_dci_polyline.owner, device.get());
    EXPECT_EQ(device->renderer_options().window_width, 32767);
    EXPECT_EQ(device->renderer_options().buffer_depth, 8);
}

TEST(XomDriverSetUp, DefinitionsKnowTheirDevice) {
    HostPlot plot;
    ASSERT_NE(plot.device->plotter_definition(), nullptr);
    EXPECT_EQ(plot.device->plotter_definition()->device(), plot.device.get());
    EXPECT_NE(plot.device->plotter_definition(), plot.definition.get())
        << "configure makes its own";
    auto made = plot.device->create_plotter_definition();
    auto* xom = dynamic_cast<HT_XOM_Plotter_Definition*>(made.get());
    ASSERT_NE(xom, nullptr);
    EXPECT_EQ(xom->device(), plot.device.get());
    EXPECT_EQ(plot.device->plot_monitor(), plot.monitor.get());
}

TEST(XomDriverSetUp, AttachWithoutOutputObjectIsAHostError) {
    class NoOutputDevice : public XOM_Driver {
        SPMP<HT_Std_Plotter_Class_Factory> create_class_factory() override {
            struct Factory : HT_Std_Plotter_Class_Factory {
                SPMP<HT_Plotter_IO> create_plotter_io(HT_Error_Handler*) override { return {}; }
            };
            return SPMP<HT_Std_Plotter_Class_Factory>(new Factory);
        }
    };
    SPMP<NoOutputDevice> device(new NoOutputDevice);
    SPMP<HT_Error_Handler> errors(new HT_Error_Handler);
    try {
        device->attach(errors.get());
        FAIL() << "attach without an output object must raise";
    } catch (const HT_Error& e) {
        EXPECT_EQ(e.message(), HT_MSG_OBJECT_NOT_CREATED);
        EXPECT_EQ(e.item(), "m_plotter_io");
    }
}

// ---------------------------------------------------------------------------------------------
// Colour modes and the device palette

struct ColourModeCase {
    const wchar_t* name;
    std::uint32_t model;
    int system;
    bool palette;
};

TEST(XomDriverColour, ModesChooseModelAndColourSystem) {
    const ColourModeCase cases[] = {
        {L"Color", kPenModelColor, HT_COLOR_SYSTEM_RGB, false},
        {L"Monochrome", kPenModelMonochrome, HT_COLOR_SYSTEM_BITONAL, false},
        {L"255_Virtual_Pens_Color", kPenModelVirtualColor, HT_COLOR_SYSTEM_MAPPED, true},
        {L"255_Virtual_Pens_Mono", kPenModelVirtualMono, HT_COLOR_SYSTEM_MAPPED, true},
        {L"Gray", kPenModelGray, HT_COLOR_SYSTEM_RGB, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::wcslen(c.name)));
        PlotSetup setup;
        setup.colorMode = c.name;
        HostPlot plot(setup);
        EXPECT_EQ(g_plotStream.colorModel, c.model);
        EXPECT_EQ(plot.device->color_system(), c.system);
        EXPECT_EQ(plot.device->renderer_options().color_system, c.system);
        EXPECT_EQ(plot.device->uses_palette(), c.palette);
        EXPECT_EQ(plot.device->renderer_options().palette.get() == plot.device->palette(),
                  c.palette);
    }
}

TEST(XomDriverColour, WithoutColourRightsColourBecomesGrayAndVirtualPensMono) {
    HostPlot plot;
    plot.device->apply_color_mode(L"Color", false);
    EXPECT_EQ(g_plotStream.colorModel, kPenModelGray);
    EXPECT_EQ(plot.device->color_system(), HT_COLOR_SYSTEM_RGB);
    plot.device->apply_color_mode(L"255_Virtual_Pens_Color", false);
    EXPECT_EQ(g_plotStream.colorModel, kPenModelVirtualMono);
}

TEST(XomDriverColour, DevicePaletteWithoutTransparencyIsTheColourIndexTable) {
    PlotSetup setup;
    setup.colorMode = L"255_Virtual_Pens_Color";
    HostPlot plot(setup);
    const HT_Palette& p = *plot.device->palette();
    ASSERT_EQ(p.size(), 256);
    auto is = [](const HT_Palette_Entry& e, int r, int g, int b) {
        return e.r == r && e.g == g && e.b == b && e.alpha == 255;
    };
    EXPECT_TRUE(is(p.entry(0), 255, 255, 255)) << "entry 0 is the paper";
    EXPECT_TRUE(is(p.entry(1), 255, 0, 0));
    EXPECT_TRUE(is(p.entry(11), 255, 127, 127));
    EXPECT_TRUE(is(p.entry(250), 84, 84, 84));
}

TEST(XomDriverColour, DevicePaletteWithTransparencyHasPrimariesCubeAndRamp) {
    PlotSetup setup;
    setup.colorMode = L"255_Virtual_Pens_Mono";
    HostPlot plot(setup);
    // Transparency is read at configure: configure again with it on.
    plot.device->set_plot_transparency(true);
    plot.device->configure(plot.definition.get());
    const HT_Palette& p = *plot.device->palette();
    const HT_Palette_Entry primaries[] = {
        {255, 0, 0, 255}, {255, 255, 0, 255}, {0, 255, 0, 255}, {0, 255, 255, 255},
        {0, 0, 255, 255}, {255, 0, 255, 255}, {0, 0, 0, 255}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(p.entry(i + 1).r, primaries[i].r) << i + 1;
        EXPECT_EQ(p.entry(i + 1).g, primaries[i].g) << i + 1;
        EXPECT_EQ(p.entry(i + 1).b, primaries[i].b) << i + 1;
    }
    HT_Palette expected;
    expected.set_size(256);
    expected.set_color_cube(HT_Color_Cube(8, 6));
    expected.set_gray_ramp(HT_Gray_Ramp(224, 32));
    for (int i : {8, 50, 223, 224, 240, 255}) {
        EXPECT_EQ(p.entry(i).r, expected.entry(i).r) << i;
        EXPECT_EQ(p.entry(i).g, expected.entry(i).g) << i;
        EXPECT_EQ(p.entry(i).b, expected.entry(i).b) << i;
    }
}

// ---------------------------------------------------------------------------------------------
// Job prefix and the settings the device reads

// Standard input is not a terminal while it lives (the plot-time prompts would ask there).
class StdinFromDevNull {
  public:
    StdinFromDevNull() : m_saved(dup(STDIN_FILENO)) {
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, STDIN_FILENO);
        close(null);
    }
    ~StdinFromDevNull() {
        dup2(m_saved, STDIN_FILENO);
        close(m_saved);
    }
    StdinFromDevNull(const StdinFromDevNull&) = delete;
    StdinFromDevNull& operator=(const StdinFromDevNull&) = delete;

  private:
    int m_saved;
};

bool StartsWith(const std::string& bytes, const std::string& head) {
    return bytes.compare(0, head.size(), head) == 0;
}

TEST(XomDriverJobPrefix, PlotToFileStartsWithThePjlHeaderUnlessXmlIsWanted) {
    PlotObserver seen;
    PlotSetup setup;
    setup.plotToFile = true;
    EXPECT_TRUE(StartsWith(PlotOneLine(setup), "\x1b%-12345X@PJL COMMENT Source=AutoCAD\r\n"));
    setup.settings = {LongItem(L"PutXMLinPlotFile", 1)};
    const std::string job = PlotOneLine(setup);
    EXPECT_TRUE(StartsWith(job, "<?xml version=\"1.0\""));
    EXPECT_TRUE(Contains(job, "</PrintJob>\r\n\x1b%-12345X@PJL"));
    EXPECT_TRUE(seen.messages.empty());
}

TEST(XomDriverPreparation, WithoutALinkedPrinterThePlotIsCancelledAndSaysHowToLinkOne) {
    PlotObserver seen;
    PlotSetup setup;
    setup.printerAnswers = false;  // and no printer address in the settings
    EXPECT_EQ(PlotOneLine(setup), "") << "nothing is sent";
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_EQ(seen.messages[0].text,
              L"Plot canceled\nNo printer is linked: link one with `xomplot config link NAME "
              L"ADDRESS` (or set its address with `xomplot config set NAME MachineIpAddress "
              L"ADDRESS`) and plot with that configuration.\n");
    EXPECT_EQ(seen.messages[0].caption, L"Error");
    EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot canceled"}));
}

// Settings to be confirmed before each plot and no dialog to confirm them in: nothing is sent, and
// the message says how to plot without confirming.
TEST(XomDriverPreparation, PromptingWithoutADisplayCancelsThePlotAndSaysHowToTurnItOff) {
    PlotObserver seen;
    PlotSetup setup;
    setup.settings = {LongItem(L"PromptAtPlotTime", 1)};
    EXPECT_EQ(PlotOneLine(setup), "");
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_EQ(seen.messages[0].text,
              L"Plot canceled\nThe settings are to be confirmed before each plot, and no settings "
              L"dialog can be shown here (no display): turn that off with `xomplot config set "
              L"NAME PromptAtPlotTime 0`.\n");
    EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot canceled"}));
}

TEST(XomDriverJobPrefix, TheTicketCarriesTheSettingsCopiesAndJobName) {
    PlotObserver seen;
    PlotSetup setup;
    setup.copies = 3;
    setup.settings = {LongItem(L"PrintExit", 2), TextItem(L"MediaName", L"Bond"),
                      TextItem(L"UserName", L"jdoe")};
    CXomMediaEntry media;
    media.m_name = L"Bond";
    media.m_id64 = 77;
    media.m_type = 5;
    setup.printerData.m_media = {media};
    const std::string job = PlotOneLine(setup, L"Plan & Co");
    EXPECT_TRUE(Contains(job, "    <NumberOfCopies>3</NumberOfCopies>\r\n"));
    EXPECT_TRUE(Contains(job, "  <JobName>Plan &amp; Co</JobName>\r\n"));
    EXPECT_TRUE(Contains(job, "    <PrintExit>Rear</PrintExit>\r\n"));
    EXPECT_TRUE(Contains(job, "    <MediaId>77</MediaId>\r\n    <MediaType>5</MediaType>\r\n"));
    EXPECT_TRUE(Contains(job, "    <User Name=\"jdoe\">\r\n"));
    EXPECT_TRUE(Contains(job, "@PJL COMMENT Drawing=Plan & Co\r\n"));
    // No drawing name: the ticket names the default, the PJL header nothing.
    const std::string unnamed = PlotOneLine(setup, L"");
    EXPECT_TRUE(Contains(unnamed, "  <JobName>AutoCAD Drawing</JobName>\r\n"));
    EXPECT_TRUE(Contains(unnamed, "@PJL COMMENT Drawing=\r\n"));
}

TEST(XomDriverJobPrefix, TheDiagnosticHeaderFileGetsTicketAndHeaderWhateverTheDestination) {
    PlotObserver seen;
    const std::string path = testing::TempDir() + "/xom_device_header.txt";
    std::remove(path.c_str());
    PlotSetup setup;
    setup.plotToFile = true;
    setup.settings = {TextItem(L"DebugHeaderFilePath", std::wstring(path.begin(), path.end()))};
    const std::string job = PlotOneLine(setup);
    EXPECT_TRUE(StartsWith(job, "\x1b%-12345X")) << "the plot file itself has no ticket";
    std::ifstream in(path, std::ios::binary);
    const std::string header{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(StartsWith(header, "<?xml"));
    const std::size_t pjl = header.find("\x1b%-12345X");
    ASSERT_NE(pjl, std::string::npos);
    EXPECT_EQ(header.substr(pjl), job.substr(0, header.size() - pjl));
    EXPECT_TRUE(seen.messages.empty());
}

TEST(XomDriverJobPrefix, AnUnwritableDiagnosticFileIsReportedAndThePlotGoesOn) {
    PlotObserver seen;
    PlotSetup setup;
    setup.settings = {TextItem(L"DebugHeaderFilePath", L"/nonexistent-dir/header.txt")};
    const std::string job = PlotOneLine(setup);
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_EQ(seen.messages[0].text, L"No such file or directory");
    EXPECT_EQ(seen.messages[0].caption, L"Diagnostic plot header file");
    EXPECT_EQ(seen.loggedStatus.back(), L"Plot complete");
    EXPECT_TRUE(StartsWith(job, "<?xml"));
}

TEST(XomDriverSettings, AMonochromePrinterPlotsColourModesGray) {
    PlotObserver seen;
    PlotSetup setup;
    setup.printerData.m_processColorants = 1;
    const std::string job = PlotOneLine(setup);
    EXPECT_TRUE(Contains(job, "  <ColorMode>BlackWhite</ColorMode>\r\n"))
        << "\"Color\" on a printer of one colour plots gray";
    EXPECT_EQ(g_plotStream.colorModel, kPenModelGray);
}

// The printer's access rules decide before anything is sent: a user without colour rights gets
// a gray plot after message 375; one without any right, or whose credentials do not pass, gets
// nothing, and the plot ends cancelled.
TEST(XomDriverPreparation, ThePrintersRulesDecideBeforeAnythingIsSent) {
    CXomPrinterData rules = PlotSetup::OpenPrinterData();
    rules.m_roleBasedAccessControl = true;
    rules.m_anonymousMonoAllowed = 0;
    rules.m_anonymousColorAllowed = 0;
    rules.m_userAccounting.m_userAccess = 2;  // any user name will do
    CXomUserEntry bob;
    bob.m_name = L"bob";
    bob.m_colorAllowed = 0;
    rules.m_users = {bob};
    {
        PlotObserver seen;
        PlotSetup setup;
        setup.printerData = rules;
        setup.settings = {TextItem(L"UserName", L"bob")};
        const std::string job = PlotOneLine(setup);
        EXPECT_TRUE(Contains(job, "  <ColorMode>BlackWhite</ColorMode>\r\n"));
        ASSERT_FALSE(seen.messages.empty());
        EXPECT_EQ(seen.messages[0].text, L"Switching from color to monochrome plot");
        EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot complete"}));
    }
    {
        PlotObserver seen;
        PlotSetup setup;
        setup.printerData = rules;
        setup.settings = {TextItem(L"UserName", L"alice")};  // not listed: the anonymous rights
        EXPECT_EQ(PlotOneLine(setup), "");
        ASSERT_FALSE(seen.messages.empty());
        EXPECT_EQ(seen.messages[0].text, L"Monochrome and color plots are not allowed");
        EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot canceled"}));
    }
    {
        PlotObserver seen;
        PlotSetup setup;
        setup.printerData = rules;
        setup.settings = {TextItem(L"UserPrompt", L"User")};  // no user name at all
        // Nothing can ask (no dialogs here, no terminal): the message says how to give them.
        const StdinFromDevNull noTerminal;
        EXPECT_EQ(PlotOneLine(setup), "");
        ASSERT_FALSE(seen.messages.empty());
        EXPECT_EQ(seen.messages[0].text.rfind(
                      L"Plot canceled\nUser Required: give them on xomplot's command line "
                      L"(--user, --password, --account0, --account0-password, --account1, "
                      L"--account1-password) or store them with `xomplot config set NAME KEY "
                      L"VALUE`",
                      0),
                  0u)
            << xomplatform::ToUtf8(seen.messages[0].text);
        EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot canceled"}));
    }
}

TEST(XomDriverPreparation, ALinkedPrinterThatGivesNoDataCancelsThePlot) {
    // Nothing answers SNMP on this loopback address; one short try keeps the test quick.
    JuxNetwork::SnmpManagerOptions snmp;
    snmp.tries = 1;
    snmp.responseTimeout = std::chrono::milliseconds(50);
    ShutdownPrinterNetwork();
    SetPrinterNetworkOptions({}, snmp);
    {
        PlotObserver seen;
        PlotSetup setup;
        setup.printerAnswers = false;
        setup.settings = {TextItem(L"MachineIpAddress", L"127.0.0.61")};
        EXPECT_EQ(PlotOneLine(setup), "") << "nothing is sent";
        ASSERT_FALSE(seen.messages.empty());
        EXPECT_EQ(seen.messages.back().text,
                  L"Plot canceled\nCannot connect to printer. 127.0.0.61\n");
        EXPECT_EQ(seen.messages.back().caption, L"Error");
        EXPECT_EQ(seen.loggedStatus, (std::vector<std::wstring>{L"Plot canceled"}));
    }
    ShutdownPrinterNetwork();
    SetPrinterNetworkOptions({}, {});
}

TEST(XomDriverSettings, MergeControlComesFromTheHostConfiguration) {
    PlotObserver seen;
    PlotSetup setup;
    EXPECT_TRUE(Contains(PlotOneLine(setup), "TR0MC0"));
    HostPlot plot(setup);
    plot.definition->get_plotter_configuration()->raster_opaque = false;
    plot.device->configure(plot.definition.get());
    plot.Begin();
    DrawLine(*plot.device, 0, 0, 100, 0);
    plot.device->end_picture();
    EXPECT_TRUE(Contains(plot.output().bytes, "TR1MC1"));
}

TEST(XomDriverSettings, PlotDirectToIpAddressChoosesTheDirectChannel) {
    PlotObserver seen;
    PlotSetup setup;
    // Nothing listens on this loopback address (no other test's printer uses it): the
    // connection is refused at once.
    setup.settings = {LongItem(L"PlotDirectToIpAddress", 1),
                      TextItem(L"MachineIpAddress", L"127.0.0.62")};
    HostPlot plot(setup);
    plot.Begin(L"Test.dwg", L"Q Plotter");
    EXPECT_TRUE(plot.device->direct_output());
    // Refused, with the address named.
    ASSERT_FALSE(seen.messages.empty());
    EXPECT_EQ(seen.messages.back().text, L"Cannot connect to printer. Q Plotter   127.0.0.62");
    plot.device->end_picture();
    EXPECT_EQ(seen.loggedDestination.back(), L"Q Plotter   127.0.0.62");
    // A plot to a file never goes direct.
    PlotSetup toFile = setup;
    toFile.plotToFile = true;
    HostPlot filePlot(toFile);
    filePlot.Begin();
    EXPECT_FALSE(filePlot.device->direct_output());
    filePlot.device->end_picture();
}

TEST(XomDriverSettings, APlotTimePinServesOneJob) {
    PlotObserver seen;
    PlotSetup setup;
    setup.settings = {TextItem(L"JobPin", L"4711")};
    HostPlot plot(setup);
    theApp().currentPin() = L"1234";
    plot.Begin();
    EXPECT_EQ(CurrentDriverSettings().JobPin, L"1234") << "the PIN typed at plot time wins";
    DrawLine(*plot.device, 0, 0, 100, 0);
    plot.device->end_picture();
    EXPECT_TRUE(Contains(plot.output().bytes, "    <JobPin>1234</JobPin>\r\n"));
    EXPECT_EQ(theApp().currentPin(), L"");
    // The host's plot-time item serves when nothing was typed.
    EXPECT_TRUE(Contains(PlotOneLine(setup), "    <JobPin>4711</JobPin>\r\n"));
}

}  // namespace
