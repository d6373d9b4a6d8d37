#include "Common/xompldef/XomPlotterDefinition.h"

#include <gtest/gtest.h>

#include "Common/XOM/ModuleStart.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "Common/xomplcaps/XomPlotterCapabilities.h"
#include "Common/xomplcfg/XomPlotterConfiguration.h"
#include "PlotterModelTestSupport.h"
#include "hdi/HT_Error.h"
#include "platform/DialogBackend.h"

namespace {

constexpr const char* kConstructor = "HT_XOM_Plotter_Definition::HT_XOM_Plotter_Definition";
constexpr const char* kInitMetaCaps = "HT_XOM_Plotter_Definition::initMetaCaps";

const std::string kDirectory =
    "[\\DPIA_directory\\XOM_Q_Series]\n"
    "descriptor = XOM,Q Series\n"
    "info = XOM wide-format printers,Q Series xomq15.hdi\n";

SPMP<HT_XOM_Plotter_Definition> MakeDefinition(HT_Error_Handler* handler) {
    return SPMP<HT_XOM_Plotter_Definition>(new HT_XOM_Plotter_Definition(handler, nullptr));
}

// The HT_Error a definition's construction throws.
HT_Error ConstructionError() {
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    try {
        MakeDefinition(handler.get());
    } catch (const HT_Error& e) {
        return e;
    }
    ADD_FAILURE() << "the definition was made";
    return HT_Error(nullptr, 0, "", "");
}

bool HasContext(const HT_Exception& e, const std::string& name) {
    return std::find(e.contexts().begin(), e.contexts().end(), name) != e.contexts().end();
}

TEST(XomPlotterDefinition, IdentifiesTheDriverFromTheBuildAndItsDrcData) {
    PretendInstallation install(BuildDrcText());
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    auto def = MakeDefinition(handler.get());

    HT_Meta_Capabilities* meta = def->get_meta_capabilities();
    ASSERT_NE(meta, nullptr);
    EXPECT_EQ(meta->version_text, L"15.0.0.0, xomq15.hdi: [1.0.24.x64], xomq15.drc:");
    EXPECT_EQ(meta->driver_path, (install.dir() / "xomq15.hdi").wstring());
    EXPECT_EQ(meta->maker, L"XOM");
    ASSERT_TRUE(meta->family);
    ASSERT_TRUE(meta->model);
    EXPECT_EQ(meta->family->descriptor, L"XOM");
    EXPECT_EQ(meta->family->info, L"XOM wide-format printers");
    EXPECT_EQ(meta->model->descriptor, L"Q Series");
    EXPECT_EQ(meta->model->info, L"Q Series xomq15.hdi");
    EXPECT_EQ(meta->model->locale, L"4B00409");  // no resource library: the driver's own list
    EXPECT_EQ(meta->model->os_version.rfind(L"2,", 0), 0u) << meta->model->os_version;
    EXPECT_TRUE(meta->model->description.empty());
    const std::vector<std::pair<int, int>> group = {{5, 3}, {5, 4}, {5, 7}, {5, 8}};
    EXPECT_EQ(meta->model->group_settings, group);
    EXPECT_EQ(meta->model->host_value_1, 0);
    EXPECT_EQ(meta->model->host_value_2, 0);
    EXPECT_EQ(meta->family->host_value, 0);

    EXPECT_EQ(def->device(), nullptr);
    EXPECT_EQ(def->get_error_handler(), handler.get());
    EXPECT_NE(dynamic_cast<HT_XOM_Plotter_Capabilities*>(def->get_plotter_capabilities()), nullptr);
    EXPECT_NE(dynamic_cast<HT_XOM_Plotter_Configuration*>(def->get_plotter_configuration()),
              nullptr);
    ASSERT_NE(def->get_shoebox(), nullptr);
    ASSERT_TRUE(def->get_shoebox()->data);
    EXPECT_EQ(def->get_shoebox()->data->text, L"c:\\");
    ASSERT_NE(def->plotter_validator(), nullptr);
    EXPECT_EQ(def->plotter_validator()->definition(), def.get());
    EXPECT_NE(def->class_factory(), nullptr);
}

TEST(XomPlotterDefinition, AStartedDriverTakesItsLocaleAndMakerFromItsResourceLibrary) {
    ASSERT_TRUE(XomModuleStart(XOM_FAKE_DRIVER_PATH));
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    SPMP<HT_XOM_Plotter_Definition> def;
    try {
        def = MakeDefinition(handler.get());
    } catch (const HT_Exception& e) {
        ADD_FAILURE() << e.what_text();
    }
    XomModuleExit();
    ASSERT_TRUE(def);
    HT_Meta_Capabilities* meta = def->get_meta_capabilities();
    EXPECT_EQ(meta->driver_path, L"" XOM_FAKE_DRIVER_PATH);
    // Spanish (Spain) with code page 1252, as the translation declares.
    EXPECT_EQ(meta->model->locale, L"4E40C0A");
    EXPECT_EQ(meta->model->descriptor, L"Q Series");
}

TEST(XomPlotterDefinition, ADriverWithoutItsDrcFileFailsNamingThePath) {
    PretendInstallation install("");
    const HT_Error e = ConstructionError();
    EXPECT_EQ(e.message(), HT_MSG_FILE_OR_VALUE_MISSING);
    EXPECT_EQ(e.function(), kInitMetaCaps);
    EXPECT_EQ(e.item(), "DRC File");
    EXPECT_EQ(e.source(), "xomq15.hdi");
    const std::string missing = (install.dir() / "en-US" / "xomq15.drc").string();
    EXPECT_NE(e.detail().find(missing), std::string::npos) << e.detail();
    EXPECT_NE(e.what_text().find(missing), std::string::npos) << e.what_text();
    EXPECT_TRUE(HasContext(e, kConstructor));
}

TEST(XomPlotterDefinition, TheDrcFileIsLookedForInTheHostsLanguageFolder) {
    PretendInstallation install(BuildDrcText());
    HT_Set_Language(L"de-DE");
    EXPECT_EQ(ConstructionError().item(), "DRC File");
    install.writeDrc("de-DE", kDirectory);
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    EXPECT_EQ(MakeDefinition(handler.get())->get_meta_capabilities()->model->descriptor,
              L"Q Series");
}

TEST(XomPlotterDefinition, ADirectoryThatCannotIdentifyTheDriverNamesWhatIsWrong) {
    struct Case {
        std::string drc;
        const char* item;
    };
    const Case cases[] = {
        {"[\\defaults]\nmedia = ISO_A4\n", "pIter"},
        {"[\\DPIA_directory]\nname = x\n", "node_name"},
        {"[\\DPIA_directory]\n", "node_name"},
        {"[\\DPIA_directory\\X]\ninfo = a,b\n", "descriptor"},
        {"[\\DPIA_directory\\X]\ndescriptor = no separator\ninfo = a,b\n", "descriptor"},
        {"[\\DPIA_directory\\X]\ndescriptor = a,b\n", "descriptor"},
        {"[\\DPIA_directory\\X\n", "DRC File"},  // not readable as DRC data at all
    };
    for (const auto& c : cases) {
        PretendInstallation install(c.drc);
        const HT_Error e = ConstructionError();
        EXPECT_EQ(e.item(), c.item) << c.drc;
        EXPECT_EQ(e.message(), HT_MSG_FILE_OR_VALUE_MISSING) << c.drc;
        EXPECT_EQ(e.function(), kInitMetaCaps) << c.drc;
    }
    // Only the first node names the driver, whatever follows it.
    PretendInstallation install(kDirectory + "[\\DPIA_directory\\Other]\ndescriptor = junk\n");
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    EXPECT_EQ(MakeDefinition(handler.get())->get_meta_capabilities()->family->descriptor, L"XOM");
}

TEST(XomPlotterDefinition, NoHelpFileNoDevicePaletteAndTheSettingsDialogWhereItCanShow) {
    PretendInstallation install(kDirectory);
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    auto def = MakeDefinition(handler.get());
    std::wstring file = L"x.chm", topic = L"topic";
    EXPECT_FALSE(def->get_driver_hints_helpfile(file, topic));
    EXPECT_TRUE(file.empty());
    EXPECT_TRUE(topic.empty());
    SPMP<HT_Palette> palette(new HT_Palette);
    EXPECT_FALSE(def->get_true_device_colors(palette.get()));

    // The dialog is offered with a window system and a dialog backend, not without either.
    const char* kDisplays[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* name : kDisplays) {
        if (const char* value = std::getenv(name)) saved.emplace_back(name, value);
        unsetenv(name);
    }
    // A backend that cannot show windows: the dialog is not shown and nothing is configured.
    xomplatform::SetDialogBackendFactory([] { return nullptr; });
    EXPECT_FALSE(def->Custom_Config_UI_Available());
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_TRUE(def->Custom_Config_UI_Available());
    const std::size_t items = def->get_plotter_configuration()->custom_items().size();
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    EXPECT_FALSE(def->CustomConfigure(nullptr));
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), locale);
    EXPECT_EQ(def->get_plotter_configuration()->custom_items().size(), items);
    xomplatform::SetDialogBackendFactory({});
    EXPECT_FALSE(def->Custom_Config_UI_Available());
    unsetenv("QT_QPA_PLATFORM");
    for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace
