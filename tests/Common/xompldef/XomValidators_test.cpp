#include "Common/xompldef/XomValidators.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "PlotterModelTestSupport.h"
#include "hdi/HT_Plotter_Definition.h"
#include "hdi/PM_DRC_Caps_Loader.h"

namespace {

// The build's capabilities, as the host's loader reads them.
SPMP<HT_Std_Plotter_Capabilities> BuildCaps() {
    PretendInstallation install(BuildDrcText());
    SPMP<HT_Std_Plotter_Capabilities> caps(new HT_Std_Plotter_Capabilities);
    SPMP<PM_DRC_Caps_Loader> loader(new PM_DRC_Caps_Loader(nullptr));
    std::string error;
    EXPECT_TRUE(loader->load((install.dir() / "en-US" / "xomq15.drc").string(), *caps, error))
        << error;
    return caps;
}

// A configuration with a random mix of valid and invalid choices.
SPMP<HT_Std_Plotter_Configuration> RandomConfig(const HT_Std_Plotter_Capabilities& caps,
                                                std::mt19937& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    SPMP<HT_Std_Plotter_Configuration> c(new HT_Std_Plotter_Configuration);
    const auto& sizes = caps.get_media_capabilities()->sizes;
    HT_Media_Configuration& media = *c->get_media_configuration();
    media.size = sizes[static_cast<std::size_t>(pick(static_cast<int>(sizes.size())))];
    switch (pick(4)) {
        case 0:
            media.size.width_mm += 1;
            break;
        case 1:
            media.size.name = L"NO_SUCH_SIZE";
            break;
        case 2:
            media.size.margin_left = media.size.width_mm;
            break;
        default:
            break;
    }
    const wchar_t* sources[] = {L"", L"Roll", L"Sheet", L"Drawer 9"};
    media.source = sources[pick(4)];
    media.copies = pick(1003) - 1;

    const auto& rcmCaps = *caps.get_res_color_mem_capabilities();
    HT_ResColorMem_Configuration& rcm = *c->get_res_color_mem_configuration();
    rcm.resolution = rcmCaps.resolutions[static_cast<std::size_t>(
        pick(static_cast<int>(rcmCaps.resolutions.size())))];
    if (pick(3) == 0) rcm.resolution.dpi = 123;
    if (pick(4) == 0) rcm.resolution.name = L"7_DPI";
    rcm.color_mode = rcmCaps.color_modes[static_cast<std::size_t>(
        pick(static_cast<int>(rcmCaps.color_modes.size())))];
    if (pick(3) == 0) rcm.color_mode.color_system = pick(3);

    for (const auto& item : caps.get_custom_capabilities()->items) {
        if (pick(3) != 0) continue;
        SPMP<HT_Custom_Data> data;
        if (pick(2) == 0)
            data = SPMP<HT_Custom_Data>(new HT_Std_Long_Custom_Data(pick(100)));
        else
            data = SPMP<HT_Custom_Data>(new HT_Std_String_Custom_Data(L"v"));
        c->custom_items().append({item.key, data});
    }
    if (pick(5) == 0)
        c->custom_items().append(
            {L"NotDeclared", SPMP<HT_Custom_Data>(new HT_Std_Long_Custom_Data(1))});

    HT_IO_Configuration& io = *c->get_io_configuration();
    io.plot_to_file = pick(2) == 0;
    const wchar_t* names[] = {L"", L"  ", L"a.plt", L"|", L"| lp", L"/dev/null"};
    io.output_file = names[pick(6)];
    io.port = names[pick(6)];
    return c;
}

// Everything a validator may look at or change, as text.
std::wstring Describe(const HT_Std_Plotter_Configuration& c) {
    const HT_Media_Configuration& m = *c.get_media_configuration();
    const HT_ResColorMem_Configuration& r = *c.get_res_color_mem_configuration();
    std::wstring d = m.size.name + L" " + std::to_wstring(m.size.width_mm) + L"x" +
                     std::to_wstring(m.size.length_mm) + L" " +
                     std::to_wstring(m.size.margin_left) + L" " + m.source + L" " +
                     std::to_wstring(m.copies) + L" " + r.resolution.name + L" " +
                     std::to_wstring(r.resolution.dpi) + L" " + r.color_mode.name + L" " +
                     std::to_wstring(r.color_mode.color_system);
    for (const auto& item : c.custom_items().items()) {
        d += L" " + item.name + L"=";
        if (auto* l = dynamic_cast<const HT_Std_Long_Custom_Data*>(item.data.get()))
            d += std::to_wstring(l->data());
        else if (auto* s = dynamic_cast<const HT_Std_String_Custom_Data*>(item.data.get()))
            d += L"'" + s->data() + L"'";
    }
    return d;
}

struct Outcome {
    std::vector<bool> results;
    std::wstring after;
};

template <class Media, class Rcm, class Custom, class Io>
Outcome Validate(const SPMP<HT_Std_Plotter_Capabilities>& caps,
                 const SPMP<HT_Std_Plotter_Configuration>& config,
                 HT_Validation_Strategy strategy) {
    SPMP<HT_Std_Plotter_Definition> def(new HT_Std_Plotter_Definition(nullptr));
    def->set_plotter_capabilities(caps);
    def->set_plotter_configuration(config->copy());
    SPMP<Media> media(new Media(def.get()));
    SPMP<Rcm> rcm(new Rcm(def.get()));
    SPMP<Custom> custom(new Custom(def.get()));
    SPMP<Io> io(new Io(def.get()));
    Outcome o;
    o.results = {media->validate_size(strategy),         media->validate_source(strategy),
                 media->validate_source_entry(strategy), rcm->validate_res_color_mem(strategy),
                 custom->validate_all_custom(strategy),  io->validate_portname_and_type(strategy)};
    o.after = Describe(*def->get_plotter_configuration());
    return o;
}

TEST(XomValidators, GiveExactlyTheStandardResultsForAnyConfiguration) {
    const auto caps = BuildCaps();
    std::mt19937 rng(20261209);
    int invalid = 0, corrected = 0;
    for (int i = 0; i < 600; ++i) {
        const auto config = RandomConfig(*caps, rng);
        for (auto strategy : {HT_Validation_Strategy::Report, HT_Validation_Strategy::Correct}) {
            const Outcome standard = Validate<HT_Std_Media_Validator, HT_Std_ResColorMem_Validator,
                                              HT_Std_Custom_Validator, HT_Std_Plotter_IO_Validator>(
                caps, config, strategy);
            const Outcome driver = Validate<HT_XOM_Media_Validator, HT_XOM_ResColorMem_Validator,
                                            HT_XOM_Custom_Validator, HT_XOM_Plotter_IO_Validator>(
                caps, config, strategy);
            ASSERT_EQ(driver.results, standard.results) << i;
            ASSERT_EQ(driver.after, standard.after) << i;
            for (bool r : standard.results) invalid += r ? 0 : 1;
            if (standard.after != Describe(*config)) ++corrected;
        }
    }
    // The mix exercised both verdicts and real corrections.
    EXPECT_GT(invalid, 600);
    EXPECT_GT(corrected, 100);
}

TEST(XomValidators, TheStandardRulesJudgeWhatTheHostWouldRefuse) {
    const auto caps = BuildCaps();
    SPMP<HT_Std_Plotter_Configuration> config(new HT_Std_Plotter_Configuration);
    ASSERT_TRUE(config->select(*caps, L"ISO_A1", L"600_DPI", L"Color"));
    config->get_io_configuration()->output_file = L"plot.plt";
    const auto report = HT_Validation_Strategy::Report;
    auto valid = [&] {
        return Validate<HT_XOM_Media_Validator, HT_XOM_ResColorMem_Validator,
                        HT_XOM_Custom_Validator, HT_XOM_Plotter_IO_Validator>(caps, config, report)
            .results;
    };
    EXPECT_EQ(valid(), std::vector<bool>(6, true));
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = L"|   ";
    EXPECT_FALSE(valid()[5]);  // a print command that is only blanks
    config->get_io_configuration()->port = L"| lp";
    EXPECT_TRUE(valid()[5]);
    config->get_res_color_mem_configuration()->resolution.dpi = 601;
    EXPECT_FALSE(valid()[3]);  // a known name with another resolution is not the one offered

    // Correcting puts the offered values back and leaves the rest alone.
    const Outcome fixed =
        Validate<HT_XOM_Media_Validator, HT_XOM_ResColorMem_Validator, HT_XOM_Custom_Validator,
                 HT_XOM_Plotter_IO_Validator>(caps, config, HT_Validation_Strategy::Correct);
    EXPECT_NE(fixed.after.find(L"600_DPI 600 "), std::wstring::npos) << fixed.after;
}

}  // namespace
