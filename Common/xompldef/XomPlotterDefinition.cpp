#include "Common/xompldef/XomPlotterDefinition.h"

#include <cstdio>
#include <memory>
#include <new>

#include "Common/XOM/DriverApp.h"
#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/StringIds.h"
#include "Common/XOM/ThreadLocale.h"
#include "Common/XomDialogs/DlgCustomSettings.h"
#include "Common/xomplcaps/XomPlotterCapabilities.h"
#include "Common/xomplcfg/XomPlotterConfiguration.h"
#include "Common/xompldef/DriverIdentification.h"
#include "Common/xompldef/PlotterModelError.h"
#include "Common/xompldef/XomPlotterClassFactory.h"
#include "hdi/HT_Host_Info.h"
#include "hdi/PM_DRC_Caps_Loader.h"
#include "platform/DialogBackend.h"
#include "platform/Utf8.h"

namespace {
constexpr const char* kConstructor = "HT_XOM_Plotter_Definition::HT_XOM_Plotter_Definition";
constexpr const char* kInitMetaCaps = "HT_XOM_Plotter_Definition::initMetaCaps";
// The start folder the host's shoebox is given.
constexpr const wchar_t* kShoeboxText = L"c:\\";
// The host settings group the driver's model belongs to, and the values it sets there.
constexpr int kModelSettingsGroup = 5;
constexpr int kModelSettingsValues[] = {3, 4, 7, 8};

struct CompoundText {
    std::string first, second;
};

// A "first,second" property of the DRC node, read in full and split.
CompoundText ReadCompound(const PM_Object& drc, const std::string& path) {
    CompoundText parts;
    if (drc.getPropertySize(path) == 0 ||
        !extract_compound_str_ex(drc.GetProperty(path), parts.first, parts.second)) {
        ThrowPlotterModelError(HT_MSG_FILE_OR_VALUE_MISSING, kInitMetaCaps, "descriptor",
                               drc.name() + ": " + path + " must be a 'family,model' text");
    }
    return parts;
}
}  // namespace

HT_XOM_Plotter_Definition::HT_XOM_Plotter_Definition(HT_Error_Handler* error_handler,
                                                     XOM_Driver* device) try
    : HT_Std_Plotter_Definition(error_handler), m_device(device) {
    m_cf = SPMP<HT_Std_Plotter_Class_Factory>(new (std::nothrow) HT_XOM_Plotter_Class_Factory);
    if (!m_cf) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, "m_cf");
    m_validator = SPMP<HT_Std_Plotter_Validator>(new HT_Std_Plotter_Validator(this));
    initMetaCaps();

    // The factory is the driver's own, so its capabilities and configuration are made directly.
    SPMP<HT_Std_Plotter_Capabilities> caps(new (std::nothrow) HT_XOM_Plotter_Capabilities);
    if (!caps) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, "plotter_caps");
    set_plotter_capabilities(caps);
    SPMP<HT_Std_Plotter_Configuration> config(new (std::nothrow) HT_XOM_Plotter_Configuration);
    if (!config) ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, "plotter_config");
    set_plotter_configuration(config);

    SPMP<HT_Shoebox_Data> data = m_cf->HD_Create_Shoebox_Data();
    SPMP<HT_Shoebox> shoebox = m_cf->HD_Create_Shoebox();
    if (!data || !shoebox)
        ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kConstructor, "shoebox");
    data->text = kShoeboxText;
    shoebox->data = data;
    set_shoebox(shoebox);
} catch (HT_Exception& e) {
    e.add_context(kConstructor);
}

HT_XOM_Plotter_Definition::~HT_XOM_Plotter_Definition() = default;

HT_XOM_Plotter_Class_Factory* HT_XOM_Plotter_Definition::class_factory() const {
    return static_cast<HT_XOM_Plotter_Class_Factory*>(m_cf.get());
}

void HT_XOM_Plotter_Definition::initMetaCaps() {
    SPMP<HT_Meta_Capabilities> meta = m_cf->HD_Create_Meta_Capabilities();
    SPMP<HT_Model> model = m_cf->HD_Create_Model();
    SPMP<HT_Family> family = m_cf->HD_Create_Family();
    if (!meta || !model || !family)
        ThrowPlotterModelError(HT_MSG_OBJECT_NOT_CREATED, kInitMetaCaps, "pmeta_pmodel_pfamily");
    meta->version_text = DriverVersionText();

    std::string driverPath;
    if (!DriverModulePath(driverPath))
        ThrowPlotterModelError(HT_MSG_FILE_OR_VALUE_MISSING, kInitMetaCaps, "procmodule");
    if (driverPath.empty())
        ThrowPlotterModelError(HT_MSG_FILE_OR_VALUE_MISSING, kInitMetaCaps, "driverPathName");
    meta->driver_path = xomplatform::PathFromBytes(driverPath);
    meta->maker = LocalizedString(IDS_BRAND);
    model->description.clear();
    model->comment.clear();
    model->os_version = OperatingSystemVersionText();

    model->locale =
        DriverLocaleText(ResourceTranslations(theApp().resourceModule()), DriverOwnTranslations());
    if (model->locale.empty())
        ThrowPlotterModelError(HT_MSG_FILE_OR_VALUE_MISSING, kInitMetaCaps, "driverlocale");

    const std::string drcPath = DrcPathFor(driverPath, _GetLanguage());
    if (std::FILE* f = std::fopen(drcPath.c_str(), "r")) {
        std::fclose(f);
    } else {
        ThrowPlotterModelError(HT_MSG_FILE_OR_VALUE_MISSING, kInitMetaCaps, "DRC File",
                               "cannot open " + drcPath);
    }
    PM_Object drc;
    std::string error;
    if (!drc.load(drcPath, error))
        ThrowPlotterModelError(HT_MSG_FILE_OR_VALUE_MISSING, kInitMetaCaps, "DRC File", error);
    std::unique_ptr<PM_Iterator> iter = drc.newIterator("\\DPIA_directory");
    if (!iter) {
        ThrowPlotterModelError(HT_MSG_FILE_OR_VALUE_MISSING, kInitMetaCaps, "pIter",
                               drcPath + " has no \\DPIA_directory node");
    }
    std::string node;
    int type = 0;
    if (!iter->nextNode(node, type) || type == PM_Object::kNodeTypeProperty) {
        ThrowPlotterModelError(HT_MSG_FILE_OR_VALUE_MISSING, kInitMetaCaps, "node_name",
                               drcPath + ": \\DPIA_directory must start with a node");
    }
    const std::string base = "\\DPIA_directory\\" + node;
    const CompoundText descriptor = ReadCompound(drc, base + "\\descriptor");
    const CompoundText info = ReadCompound(drc, base + "\\info");
    family->descriptor = xomplatform::FromUtf8(descriptor.first);
    family->info = xomplatform::FromUtf8(info.first);
    model->descriptor = xomplatform::FromUtf8(descriptor.second);
    model->info = xomplatform::FromUtf8(info.second);
    for (int value : kModelSettingsValues)
        model->group_settings.emplace_back(kModelSettingsGroup, value);
    model->host_value_1 = 0;
    model->host_value_2 = 0;
    family->host_value = 0;

    meta->model = model;
    meta->family = family;
    set_meta_capabilities(meta);
}

// A window system must be reachable and a dialog backend registered (the builds register one).
bool HT_XOM_Plotter_Definition::Custom_Config_UI_Available() {
    return xomplatform::DisplayAvailable() && xomplatform::HasDialogBackendFactory();
}

// The host's window is not needed: the dialog is application-modal. The texts are in the
// resource library's language for the time of the dialog. The dialog starts the printer network
// itself once it is shown.
bool HT_XOM_Plotter_Definition::CustomConfigure(void*) {
    CScopedThreadLocale locale(theApp().languageId());
    CDlgCustomSettings dialog(nullptr, theApp().currentPrinter(), *this);
    return dialog.DoModal() == IDOK;
}

bool HT_XOM_Plotter_Definition::get_driver_hints_helpfile(std::wstring& file, std::wstring& topic) {
    file.clear();
    topic.clear();
    return false;
}

bool HT_XOM_Plotter_Definition::get_true_device_colors(HT_Palette*) {
    return false;
}
