#include "hdi/HT_Plotter_Device_Data.h"

#include <gtest/gtest.h>

#include "FakeDevice.h"
#include "hdi/HT_Host_Info.h"

namespace {

TEST(Palette, ColorCubeAndGrayRampFillEvenlyAndStopAt256) {
    HT_Palette p;
    p.set_color_cube(HT_Color_Cube(8, 6));
    EXPECT_EQ(p.size(), 8 + 216);
    const auto& first = p.entry(8);
    EXPECT_EQ(first.r, 0);
    EXPECT_EQ(first.b, 0);
    const auto& last = p.entry(8 + 215);
    EXPECT_EQ(last.r, 255);
    EXPECT_EQ(last.g, 255);
    EXPECT_EQ(last.b, 255);
    EXPECT_EQ(p.entry(9).b, 51);  // blue varies fastest
    p.set_gray_ramp(HT_Gray_Ramp(224, 32));
    EXPECT_EQ(p.size(), 256);
    EXPECT_EQ(p.entry(224).r, 0);
    EXPECT_EQ(p.entry(255).g, 255);
    p.set_gray_ramp(HT_Gray_Ramp(250, 32));  // clipped at the last entry, no overrun
    EXPECT_EQ(p.size(), 256);
}

TEST(ContourSet, PointInsideIsEvenOdd) {
    HT_Contour_Set_Data c;
    c.contours = {{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}},
                  {{3, 3, 0}, {7, 3, 0}, {7, 7, 0}, {3, 7, 0}}};
    EXPECT_TRUE(c.point_inside(1, 1));
    EXPECT_FALSE(c.point_inside(5, 5));  // in the hole
    EXPECT_FALSE(c.point_inside(11, 5));
    HT_Contour_Set_Data empty;
    EXPECT_FALSE(empty.point_inside(0, 0));
}

TEST(LinePatterns, SolidHasNoDashesOthersAlternateOnOff) {
    EXPECT_TRUE(HT_Line_Pattern_Dashes(0).empty());
    EXPECT_TRUE(HT_Line_Pattern_Dashes(-1).empty());
    for (int p = 1; p <= 6; ++p) {
        const auto d = HT_Line_Pattern_Dashes(p);
        ASSERT_FALSE(d.empty());
        EXPECT_EQ(d.size() % 2, 0u);
        for (float v : d) EXPECT_GT(v, 0.0f);
    }
}

TEST(RendererDispatch, EnabledActionWinsElseStandardRoutine) {
    FakeDevice d;
    HT_Rendition r;
    const HT_DCI_Point pts[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    d.draw_dci_polygon(r, 3, pts, nullptr);
    EXPECT_EQ(d.polygons.size(), 1u);
    // No ellipse action: the standard routine tessellates and calls the polygon action.
    d.draw_dci_ellipse(r, {50, 50, 0}, {10, 10, 0}, 0, 6.2831855f, nullptr);
    EXPECT_EQ(d.polygons.size(), 2u);
    // No dot action: a zero-length stroke through the polyline action, dropped outside a clip.
    d.draw_dci_dot(r, {5, 5, 0}, nullptr);
    ASSERT_EQ(d.polylines.size(), 1u);
    EXPECT_EQ(d.polylines[0].points.size(), 2u);
    HT_Contour_Set_Data clip;
    clip.contours = {{{100, 100, 0}, {200, 100, 0}, {200, 200, 0}}};
    r.clip = &clip;
    d.draw_dci_dot(r, {5, 5, 0}, nullptr);
    EXPECT_EQ(d.polylines.size(), 1u);
}

TEST(RendererDispatch, SetStandardActionsFillsOrClearsTheTable) {
    HT_Plotter_Device_Data d;
    d.set_standard_actions(true);
    EXPECT_TRUE(d.actions().draw_dci_polygon.enabled);
    EXPECT_EQ(d.actions().draw_dci_polygon.handler, &HD_Standard_Draw_DCI_Polygon);
    EXPECT_EQ(d.actions().draw_dci_polygon.owner, &d);
    d.set_standard_actions(false);
    EXPECT_FALSE(d.actions().draw_dci_polygon.enabled);
    EXPECT_EQ(d.actions().draw_dci_polygon.handler, nullptr);
}

HT_Std_Plotter_Capabilities SmallCaps() {
    HT_Std_Plotter_Capabilities caps;
    caps.get_media_capabilities()->sizes.push_back({L"ISO_A4", 605, 210, 297, 5, 6, 7, 8});
    caps.get_res_color_mem_capabilities()->resolutions.push_back({L"600_DPI", 541, 600});
    caps.get_res_color_mem_capabilities()->color_modes.push_back(
        {L"Monochrome", 563, HT_COLOR_SYSTEM_BITONAL});
    return caps;
}

TEST(Configuration, SelectAndAccessorsGivePrintableAreaAsCoordinates) {
    const auto caps = SmallCaps();
    HT_Std_Plotter_Configuration config;
    EXPECT_FALSE(config.select(caps, L"ISO_A4", L"300_DPI", L"Monochrome"));
    EXPECT_TRUE(
        config.get_media_configuration()->size.name.empty());  // a failed select changes nothing
    ASSERT_TRUE(config.select(caps, L"ISO_A4", L"600_DPI", L"Monochrome"));
    double h, v, w, l, left, right, bottom, top;
    config.get_resolution(h, v);
    config.get_media_size(w, l);
    config.get_printable_area(left, right, bottom, top);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(v, 600);
    EXPECT_EQ(w, 210);
    EXPECT_EQ(l, 297);
    EXPECT_EQ(left, 5);
    EXPECT_EQ(right, 204);
    EXPECT_EQ(bottom, 7);
    EXPECT_EQ(top, 289);
    EXPECT_EQ(config.color_system(), HT_COLOR_SYSTEM_BITONAL);
    EXPECT_EQ(config.color_mode_name(), L"Monochrome");
}

TEST(Parts, CopiesAreIndependentButShareThePlotObject) {
    SPMP<HT_Std_Plotter_Configuration> config(new HT_Std_Plotter_Configuration());
    config->get_io_configuration()->output_file = L"a.plt";
    auto copy = config->copy();
    copy->get_io_configuration()->output_file = L"b.plt";
    EXPECT_EQ(config->get_io_configuration()->output_file, L"a.plt");
    EXPECT_EQ(copy->ref_count(), 1);

    SPMP<HT_Plot_Monitor> monitor(new HT_Plot_Monitor());
    SPMP<HT_Shoebox> box(new HT_Shoebox());
    box->plot_object = SPMP<HT_Plot_Object>(new HT_Plot_Object(monitor));
    auto boxCopy = box->copy();
    EXPECT_EQ(boxCopy->plot_object.get(), box->plot_object.get());
    EXPECT_EQ(boxCopy->plot_object->plot_monitor(), monitor.get());
}

TEST(Parts, ANullPartIsRefusedAndCopiesCopyEveryPart) {
    SPMP<HT_Std_Plotter_Capabilities> caps(new HT_Std_Plotter_Capabilities());
    HT_Media_Capabilities* media = caps->get_media_capabilities();
    ASSERT_NE(media, nullptr);
    caps->set_media_capabilities(SPMP<HT_Media_Capabilities>());
    EXPECT_EQ(caps->get_media_capabilities(), media);
    media->sizes.push_back({L"ISO_A4", 605, 210, 297});
    caps->get_custom_capabilities()->items.push_back({L"K", L"long", L"1"});
    auto copy = caps->copy();
    EXPECT_NE(copy->get_media_capabilities(), media);
    EXPECT_NE(copy->get_custom_capabilities(), caps->get_custom_capabilities());
    EXPECT_NE(copy->find_media(L"ISO_A4"), nullptr);
    EXPECT_NE(copy->find_custom(L"K"), nullptr);

    SPMP<HT_Meta_Capabilities> meta(new HT_Meta_Capabilities());
    meta->model = SPMP<HT_Model>(new HT_Model());
    meta->model->descriptor = L"Q Series";
    auto metaCopy = meta->copy();
    metaCopy->model->descriptor = L"other";
    EXPECT_EQ(meta->model->descriptor, L"Q Series");
    EXPECT_FALSE(metaCopy->family);

    SPMP<HT_Shoebox> box(new HT_Shoebox());
    box->data = SPMP<HT_Shoebox_Data>(new HT_Shoebox_Data());
    box->data->text = L"c:\\";
    auto boxCopy = box->copy();
    boxCopy->data->text = L"d:\\";
    EXPECT_EQ(box->data->text, L"c:\\");
}

TEST(Definition, FactoryMakesPartsAndDefinitionKeepsThem) {
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler());
    SPMP<HT_Std_Plotter_Class_Factory> factory(new HT_Std_Plotter_Class_Factory());
    auto def = factory->HD_Create_Plotter_Definition(handler.get());
    def->set_plotter_configuration(factory->HD_Create_Plotter_Configuration({}, {}, {}));
    def->set_plotter_capabilities(factory->HD_Create_Plotter_Capabilities({}, {}, {}));
    def->set_meta_capabilities(factory->HD_Create_Meta_Capabilities());
    def->set_shoebox(factory->HD_Create_Shoebox());
    EXPECT_EQ(def->get_error_handler(), handler.get());
    EXPECT_NE(def->get_plotter_configuration(), nullptr);
    EXPECT_NE(def->get_shoebox(), nullptr);
    std::wstring file = L"x", topic = L"y";
    EXPECT_FALSE(def->get_driver_hints_helpfile(file, topic));
    EXPECT_TRUE(file.empty());
    EXPECT_TRUE(topic.empty());
}

TEST(PlotMonitor, CancelAbortAndMeter) {
    HT_Plot_Monitor m;
    EXPECT_EQ(m.request(HT_MONITOR_POLL_CANCEL), 0);
    m.cancel();
    EXPECT_NE(m.request(HT_MONITOR_POLL_CANCEL), 0);
    EXPECT_EQ(m.request(HT_MONITOR_ABORT), 0);
    EXPECT_TRUE(m.aborted());
    EXPECT_TRUE(m.meter_start());
    m.meter_show(140);
    EXPECT_EQ(m.last_percent(), 100);
}

TEST(Errors, ContextsAreCappedAndTextsNameTheItem) {
    HT_Error e(nullptr, HT_MSG_OBJECT_NOT_CREATED, "XOM_Driver::attach", "pCF");
    for (int i = 0; i < 40; ++i) e.add_context("ctor" + std::to_string(i));
    EXPECT_EQ(e.contexts().size(), HT_Exception::kMaxContexts);
    EXPECT_NE(e.what_text().find("pCF"), std::string::npos);
    EXPECT_NE(e.what_text().find("37"), std::string::npos);
    HT_Error_Handler h;
    h.report(4, "f", "m_plotter_io");
    h.show_message(L"text", L"caption", HT_ICON_STOP);
    ASSERT_EQ(h.reports().size(), 1u);
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(h.messages()[0].icon, HT_ICON_STOP);
}

TEST(HostInfo, DefaultsAndSetters) {
    EXPECT_EQ(_GetProductName(), L"AutoCAD");
    EXPECT_EQ(_GetLanguage(), L"en-US");
    EXPECT_FALSE(_GetAppKey().empty());
    HT_Set_Language(L"de-DE");
    EXPECT_EQ(_GetLanguage(), L"de-DE");
    HT_Set_Language(L"en-US");
}

}  // namespace
