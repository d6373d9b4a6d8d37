#include "tools/xomplot/ConfigEdit.h"

#include <filesystem>
#include <memory>
#include <vector>

#include "hdi/HT_Driver_Module.h"
#include "hdi/HT_Error.h"
#include "hdi/HT_Plotter_Definition.h"
#include "hdi/PM_DRC_Caps_Loader.h"
#include "platform/Utf8.h"
#include "tools/xomplot/ConfigCommands.h"
#include "tools/xomplot/PlotOutcome.h"
#include "tools/xomplot/PlotRun.h"

namespace xomplot {

namespace {

// The driver's plotter definition with its capabilities loaded and the configuration file's items
// applied; null after saying why on err.
SPMP<HT_Std_Plotter_Definition> MakeDefinition(const HT_Driver_Module& module,
                                               const PrinterConfig& config, const std::string& name,
                                               std::FILE* err) {
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    SPMP<HT_Std_Plotter_Class_Factory> factory(module.create_class_factory());
    if (!factory) {
        std::fprintf(err, "xomplot: %s: the driver has no class factory\n", module.path().c_str());
        return {};
    }
    SPMP<HT_Std_Plotter_Definition> definition;
    try {
        definition = factory->HD_Create_Plotter_Definition(handler.get());
    } catch (const HT_Exception& e) {
        std::fprintf(err, "xomplot: driver error: %s\n", e.what_text().c_str());
        return {};
    }
    if (!definition || !definition->get_plotter_capabilities() ||
        !definition->get_plotter_configuration()) {
        std::fprintf(err, "xomplot: %s: the driver made no complete plotter definition\n",
                     module.path().c_str());
        return {};
    }
    std::string error;
    SPMP<PM_DRC_Caps_Loader> loader = factory->HD_Create_Caps_Loader(handler.get());
    const HT_Driver_Identity* identity = module.identity();
    if (!loader || !loader->load(DrcPath(module.path(), identity ? identity->drc_file : ""),
                                 *definition->get_plotter_capabilities(), error)) {
        std::fprintf(err, "xomplot: %s\n",
                     loader ? error.c_str() : "the driver made no capability loader");
        return {};
    }
    std::vector<std::string> problems;
    ApplyPrinterConfig(config, *definition->get_plotter_capabilities(),
                       *definition->get_plotter_configuration(), name + ".conf", problems);
    for (const auto& p : problems) std::fprintf(err, "xomplot: %s\n", p.c_str());
    return definition;
}

}  // namespace

void TakeCustomItems(const HT_Std_Plotter_Configuration& source, PrinterConfig& config) {
    for (const HT_Custom_Config_Item& item : source.custom_items().items()) {
        const std::string key = xomplatform::ToUtf8(item.name);
        if (const auto* number = dynamic_cast<const HT_Std_Long_Custom_Data*>(item.data.get()))
            config.set(key, std::to_string(number->data()));
        else if (const auto* text = dynamic_cast<const HT_Std_String_Custom_Data*>(item.data.get()))
            config.set(key, xomplatform::ToUtf8(text->data()));
    }
}

int ConfigEdit(const std::string& driverPath, const std::string& name, std::FILE* out,
               std::FILE* err) {
    if (!IsValidConfigName(name)) {
        std::fprintf(err,
                     "xomplot: '%s' is not a configuration name (letters, digits, '.', '_', '-')\n",
                     name.c_str());
        return 1;
    }
    const std::string path = ConfigPath(name);
    PrinterConfig config;
    if (!ReadConfigForUpdate(path, config, err)) return 1;
    std::string error;

    std::unique_ptr<HT_Driver_Module> module = HT_Driver_Module::load(driverPath, error);
    if (!module) {
        std::fprintf(err, "xomplot: %s\n", error.c_str());
        return 1;
    }
    bool saved = false;
    {
        SPMP<HT_Std_Plotter_Definition> definition = MakeDefinition(*module, config, name, err);
        if (!definition) return 1;
        if (!definition->Custom_Config_UI_Available()) {
            std::fprintf(err,
                         "xomplot: config edit opens the driver's settings dialog and needs a "
                         "display (an X display in DISPLAY that accepts connections); without one, "
                         "change items with "
                         "xomplot config set %s KEY VALUE (see xomplot config show %s)\n",
                         name.c_str(), name.c_str());
            return kExitNoDisplay;
        }
        if (definition->CustomConfigure(nullptr)) {
            TakeCustomItems(*definition->get_plotter_configuration(), config);
            saved = true;
        }
    }
    if (!saved) {
        std::fprintf(out, "%s: cancelled, nothing saved\n", name.c_str());
        return static_cast<int>(PlotOutcome::Cancelled);
    }
    if (!WritePrinterConfig(path, config, name, error)) {
        std::fprintf(err, "xomplot: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(out, "%s: saved\n", name.c_str());
    return 0;
}

}  // namespace xomplot
