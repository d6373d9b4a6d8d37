// The four driver builds: each loads through the host's loader, reports its own identity and is
// bound to its own generation of the host SDK; without its resource library it does not start.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>

#include "hdi/HT_Driver_Module.h"
#include "hdi/HT_Plotter_Definition.h"
#include "hdi/PM_DRC_Caps_Loader.h"

namespace {

namespace fs = std::filesystem;

struct Build {
    int generation;
    const char* version;
};
const Build kBuilds[] = {{15, "15.0.0.0"}, {14, "14.0.0.0"}, {13, "13.0.0.0"}, {12, "12.0.51.0"}};

std::string DriverPath(int gen) {
    return std::string(XOM_TEST_DRIVER_DIR) + "/xomq" + std::to_string(gen) + ".hdi";
}

bool LinkMapHas(void* handle, const std::string& suffix) {
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return false;
    while (map->l_prev) map = map->l_prev;
    for (; map; map = map->l_next) {
        const std::string name = map->l_name ? map->l_name : "";
        if (name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return true;
    }
    return false;
}

class DriverBuildTest : public ::testing::TestWithParam<Build> {};

TEST_P(DriverBuildTest, LoadsAndReportsItsOwnIdentityAndSdkGeneration) {
    const Build b = GetParam();
    const std::string gen = std::to_string(b.generation);
    std::string error;
    auto module = HT_Driver_Module::load(DriverPath(b.generation), error);
    ASSERT_NE(module, nullptr) << error;
    const HT_Driver_Identity* id = module->identity();
    ASSERT_NE(id, nullptr);
    EXPECT_STREQ(id->hdi_version, b.version);
    EXPECT_EQ(std::string(id->hdi_file), "xomq" + gen + ".hdi");
    EXPECT_EQ(std::string(id->drc_file), "xomq" + gen + ".drc");
    EXPECT_STREQ(id->driver_version, "1.0.24.x64");
    EXPECT_EQ(id->sdk_generation, b.generation);

    // The driver's own dependency scope resolves the SDK's generation unit to its generation.
    void* handle = dlopen(DriverPath(b.generation).c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(LinkMapHas(handle, "/libhdisdk" + gen + ".so"));
    auto version = reinterpret_cast<const char* (*)()>(dlsym(handle, "HT_SDK_Version_Text"));
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version(), b.version);
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(version), &info), 0);
    EXPECT_NE(std::strstr(info.dli_fname, ("libhdisdk" + gen + ".so").c_str()), nullptr);
    dlclose(handle);

    EXPECT_TRUE(fs::exists(std::string(XOM_TEST_DRIVER_DIR) + "/xomq" + gen + "Res.so"));
    EXPECT_TRUE(fs::exists(std::string(XOM_TEST_DRIVER_DIR) + "/en-US/xomq" + gen + ".drc"));
}

TEST_P(DriverBuildTest, IdentifiesItselfThroughItsExportedClassFactory) {
    const Build b = GetParam();
    const std::string gen = std::to_string(b.generation);
    std::string error;
    auto module = HT_Driver_Module::load(DriverPath(b.generation), error);
    ASSERT_NE(module, nullptr) << error;
    {
        SPMP<HT_Std_Plotter_Class_Factory> factory(module->create_class_factory());
        ASSERT_TRUE(factory);
        SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
        SPMP<HT_Std_Plotter_Definition> def;
        try {
            def = factory->HD_Create_Plotter_Definition(handler.get());
        } catch (const HT_Exception& e) {
            FAIL() << e.what_text();
        }
        ASSERT_TRUE(def);
        const HT_Meta_Capabilities* meta = def->get_meta_capabilities();
        ASSERT_NE(meta, nullptr);
        const std::string text =
            std::string(b.version) + ", xomq" + gen + ".hdi: [1.0.24.x64], xomq" + gen + ".drc:";
        EXPECT_EQ(meta->version_text, std::wstring(text.begin(), text.end()));
        const std::string path = DriverPath(b.generation);
        EXPECT_EQ(meta->driver_path, std::wstring(path.begin(), path.end()));
        EXPECT_EQ(meta->maker, L"XOM");
        ASSERT_TRUE(meta->model);
        ASSERT_TRUE(meta->family);
        EXPECT_EQ(meta->family->descriptor, L"XOM");
        EXPECT_EQ(meta->model->descriptor, L"Q Series");
        const std::string info = "Q Series xomq" + gen + ".hdi";
        EXPECT_EQ(meta->model->info, std::wstring(info.begin(), info.end()));
        EXPECT_EQ(meta->model->locale, L"4B00409");
        // The host's loader fills the driver's capabilities from the same DRC data.
        SPMP<PM_DRC_Caps_Loader> loader = factory->HD_Create_Caps_Loader(handler.get());
        ASSERT_TRUE(loader);
        EXPECT_TRUE(loader->load(std::string(XOM_TEST_DRIVER_DIR) + "/en-US/xomq" + gen + ".drc",
                                 *def->get_plotter_capabilities(), error))
            << error;
        EXPECT_NE(def->get_plotter_capabilities()->find_media(L"ISO_A0"), nullptr);
    }  // the driver's objects go before the driver is unloaded
}

// The dynamic symbols a library defines, as `nm -D --defined-only -C` lists them (C++ members by
// their qualified names, without parameters), without the ones the linker itself defines in
// every shared object.
std::set<std::string> ExportedSymbols(const std::string& path) {
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only -C '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return names;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (!(fields >> address >> type) || !std::getline(fields >> std::ws, name)) continue;
        if (const std::size_t paren = name.find('('); paren != std::string::npos)
            name.resize(paren);
        while (!name.empty() && (name.back() == '\n' || name.back() == ' ')) name.pop_back();
        if (name == "_init" || name == "_fini" || name == "_edata" || name == "_end" ||
            name == "__bss_start")
            continue;
        names.insert(name);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return names;
}

std::string Listed(const std::set<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += "\n  " + n;
    return out;
}

TEST_P(DriverBuildTest, ExportsOnlyTheEntryPointsAHostCalls) {
    const std::string gen = std::to_string(GetParam().generation);
    // The C entry points, and the plotter model's members a host binds by their names.
    const std::set<std::string> allowed = {
        "HD_Module_Start",
        "HD_Module_Exit",
        "HD_Get_Driver_Identity",
        "HD_Create_Plotter_Device",
        "HD_Create_Class_Factory",
        "HT_XOM_Plotter_Class_Factory::HT_XOM_Plotter_Class_Factory",
        "HT_XOM_Plotter_Class_Factory::~HT_XOM_Plotter_Class_Factory",
        "HT_XOM_Plotter_Class_Factory::HD_Create_Caps_Loader",
        "HT_XOM_Plotter_Class_Factory::HD_Create_Plotter_Capabilities",
        "HT_XOM_Plotter_Class_Factory::HD_Create_Plotter_Configuration",
        "HT_XOM_Plotter_Class_Factory::HD_Create_Plotter_Definition",
        "HT_XOM_Plotter_Class_Factory::HD_Create_Media_Validator",
        "HT_XOM_Plotter_Class_Factory::HD_Create_ResColorMem_Validator",
        "HT_XOM_Plotter_Class_Factory::HD_Create_Custom_Validator",
        "HT_XOM_Plotter_Class_Factory::HD_Create_Plotter_IO_Validator",
        "HT_XOM_Plotter_Definition::CustomConfigure",
        "HT_XOM_Plotter_Definition::Custom_Config_UI_Available",
        "HT_XOM_Plotter_Definition::get_driver_hints_helpfile",
        "HT_XOM_Plotter_Definition::get_true_device_colors",
        "HT_XOM_Media_Validator::HT_XOM_Media_Validator",
        "HT_XOM_Media_Validator::validate_size",
        "HT_XOM_Media_Validator::validate_source",
        "HT_XOM_Media_Validator::validate_source_entry",
        "HT_XOM_ResColorMem_Validator::HT_XOM_ResColorMem_Validator",
        "HT_XOM_ResColorMem_Validator::validate_res_color_mem",
        "HT_XOM_Custom_Validator::HT_XOM_Custom_Validator",
        "HT_XOM_Custom_Validator::validate_all_custom",
        "HT_XOM_Plotter_IO_Validator::HT_XOM_Plotter_IO_Validator",
        "HT_XOM_Plotter_IO_Validator::validate_portname_and_type",
    };
    const auto driver = ExportedSymbols(DriverPath(GetParam().generation));
    EXPECT_EQ(driver, allowed) << "xomq" << gen << ".hdi exports:" << Listed(driver);

    const std::set<std::string> resources = {"XomRes_StringTable", "XomRes_Translations",
                                             "XomRes_Dialogs"};
    const auto res = ExportedSymbols(std::string(XOM_TEST_DRIVER_DIR) + "/xomq" + gen + "Res.so");
    EXPECT_EQ(res, resources) << "xomq" << gen << "Res.so exports:" << Listed(res);
}

INSTANTIATE_TEST_SUITE_P(AllGenerations, DriverBuildTest, ::testing::ValuesIn(kBuilds),
                         [](const auto& test) {
                             return "xomq" + std::to_string(test.param.generation);
                         });

TEST(DriverBuild, WithoutItsResourceLibraryTheDriverDoesNotStart) {
    const fs::path dir = fs::temp_directory_path() / ("xom_nores_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path copy = dir / "xomq15.hdi";
    fs::copy_file(DriverPath(15), copy, fs::copy_options::overwrite_existing);
    std::string error;
    ::testing::internal::CaptureStderr();
    auto module = HT_Driver_Module::load(copy.string(), error);
    const std::string shown = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(module, nullptr);
    EXPECT_NE(error.find("driver failed to initialise"), std::string::npos) << error;
    EXPECT_NE(shown.find("Error: Resource DLL not found: " + (dir / "xomq15Res.so").string()),
              std::string::npos)
        << shown;
    fs::remove_all(dir);
}

}  // namespace
