#include "hdi/HT_Validators.h"

#include <gtest/gtest.h>

#include "hdi/HT_Plotter_Definition.h"

namespace {

// A definition offering one size, one resolution, one colour mode, one source and one long and
// one text custom item, configured with exactly those.
struct ValidDefinition {
    SPMP<HT_Std_Plotter_Definition> def{new HT_Std_Plotter_Definition(nullptr)};
    ValidDefinition() {
        SPMP<HT_Std_Plotter_Capabilities> caps(new HT_Std_Plotter_Capabilities);
        HT_Media_Capabilities& media = *caps->get_media_capabilities();
        media.sizes.push_back({L"ISO_A4", 605, 210, 297, 5, 5, 5, 5});
        media.sizes.push_back({L"ISO_A3", 606, 297, 420, 5, 5, 5, 5});
        media.sources = {L"Roll"};
        media.default_size = L"ISO_A4";
        HT_ResColorMem_Capabilities& rcm = *caps->get_res_color_mem_capabilities();
        rcm.resolutions.push_back({L"600_DPI", 541, 600});
        rcm.resolutions.push_back({L"300_DPI", 543, 300});
        rcm.color_modes.push_back({L"Color", 565, HT_COLOR_SYSTEM_RGB});
        rcm.default_resolution = L"600_DPI";
        rcm.default_color_mode = L"Color";
        caps->get_custom_capabilities()->items = {{L"Copies", L"long", L"1"},
                                                  {L"UserName", L"string", L""}};
        SPMP<HT_Std_Plotter_Configuration> config(new HT_Std_Plotter_Configuration);
        EXPECT_TRUE(config->select(*caps, L"ISO_A3", L"300_DPI", L"Color"));
        config->get_io_configuration()->output_file = L"a.plt";
        config->custom_items().append({L"Copies", caps->find_custom(L"Copies")->default_data()});
        def->set_plotter_capabilities(caps);
        def->set_plotter_configuration(config);
    }
    HT_Std_Plotter_Configuration& config() { return *def->get_plotter_configuration(); }
};

constexpr auto kReport = HT_Validation_Strategy::Report;
constexpr auto kCorrect = HT_Validation_Strategy::Correct;

TEST(StandardValidators, AConfigurationOfOfferedChoicesIsValid) {
    ValidDefinition d;
    SPMP<HT_Std_Plotter_Class_Factory> factory(new HT_Std_Plotter_Class_Factory);
    HT_Std_Plotter_Validator all(d.def.get());
    EXPECT_TRUE(all.validate_all(*factory, kReport));
    // A definition without capabilities cannot be valid.
    SPMP<HT_Std_Plotter_Definition> bare(new HT_Std_Plotter_Definition(nullptr));
    HT_Std_Media_Validator media(bare.get());
    EXPECT_FALSE(media.validate_size(kReport));
}

TEST(StandardValidators, MediaReportsOrCorrectsSizeSourceAndCopies) {
    ValidDefinition d;
    SPMP<HT_Std_Media_Validator> v(new HT_Std_Media_Validator(d.def.get()));
    HT_Media_Configuration& media = *d.config().get_media_configuration();
    media.size.width_mm = 290;  // a known name with other dimensions
    EXPECT_FALSE(v->validate_size(kReport));
    EXPECT_EQ(media.size.width_mm, 290);
    EXPECT_FALSE(v->validate_size(kCorrect));
    EXPECT_EQ(media.size.width_mm, 297);  // the offered entry of that name
    media.size.name = L"Unknown";
    EXPECT_FALSE(v->validate_size(kCorrect));
    EXPECT_EQ(media.size.name, L"ISO_A4");  // the default
    EXPECT_TRUE(v->validate_size(kReport));

    media.source = L"Drawer";
    EXPECT_FALSE(v->validate_source(kCorrect));
    EXPECT_TRUE(media.source.empty());
    media.source = L"Roll";
    EXPECT_TRUE(v->validate_source(kReport));

    media.copies = 0;
    EXPECT_FALSE(v->validate_source_entry(kCorrect));
    EXPECT_EQ(media.copies, 1);
    media.copies = 5000;
    EXPECT_FALSE(v->validate_source_entry(kCorrect));
    EXPECT_EQ(media.copies, 999);
    media.size.margin_left = 300;
    EXPECT_FALSE(v->validate_source_entry(kReport));
}

TEST(StandardValidators, ResolutionColourCustomItemsAndOutput) {
    ValidDefinition d;
    SPMP<HT_Std_ResColorMem_Validator> rcm(new HT_Std_ResColorMem_Validator(d.def.get()));
    auto& res = d.config().get_res_color_mem_configuration()->resolution;
    res.name = L"1200_DPI";
    EXPECT_FALSE(rcm->validate_res_color_mem(kCorrect));
    EXPECT_EQ(res.dpi, 600);
    auto& mode = d.config().get_res_color_mem_configuration()->color_mode;
    mode.color_system = HT_COLOR_SYSTEM_BITONAL;
    EXPECT_FALSE(rcm->validate_res_color_mem(kReport));

    SPMP<HT_Std_Custom_Validator> custom(new HT_Std_Custom_Validator(d.def.get()));
    EXPECT_TRUE(custom->validate_all_custom(kReport));
    d.config().custom_items().append(
        {L"UserName", SPMP<HT_Custom_Data>(new HT_Std_Long_Custom_Data(7))});
    EXPECT_FALSE(custom->validate_all_custom(kCorrect));
    EXPECT_FALSE(d.config().custom_items().find(L"UserName")->data->is_long());
    EXPECT_TRUE(custom->validate_all_custom(kReport));
    d.config().custom_items().append(
        {L"Undeclared", SPMP<HT_Custom_Data>(new HT_Std_Long_Custom_Data(1))});
    EXPECT_FALSE(custom->validate_all_custom(kCorrect));

    SPMP<HT_Std_Plotter_IO_Validator> io(new HT_Std_Plotter_IO_Validator(d.def.get()));
    HT_IO_Configuration& out = *d.config().get_io_configuration();
    EXPECT_TRUE(io->validate_portname_and_type(kReport));
    out.output_file = L" ";
    EXPECT_FALSE(io->validate_portname_and_type(kReport));
    out.plot_to_file = false;
    out.port = L"/dev/usb/lp0";
    EXPECT_TRUE(io->validate_portname_and_type(kReport));
    d.def->get_plotter_capabilities()->get_io_capabilities()->plot_to_port = false;
    EXPECT_FALSE(io->validate_portname_and_type(kReport));
}

}  // namespace
