#include "Common/xompldef/XomPlotterClassFactory.h"

#include <gtest/gtest.h>

#include "Common/xomplcaps/XomPlotterCapabilities.h"
#include "Common/xomplcfg/XomPlotterConfiguration.h"
#include "Common/xompldef/XomPlotterDefinition.h"
#include "PlotterModelTestSupport.h"
#include "hdi/HT_Error.h"
#include "hdi/PM_DRC_Caps_Loader.h"

namespace {

const std::string kDirectory =
    "[\\DPIA_directory\\XOM_Q_Series]\n"
    "descriptor = XOM,Q Series\n"
    "info = XOM wide-format printers,Q Series xomq15.hdi\n";

TEST(XomPlotterClassFactory, MakesTheDriversKinds) {
    PretendInstallation install(kDirectory);
    SPMP<HT_Std_Plotter_Class_Factory> factory(HD_Create_Class_Factory());
    ASSERT_NE(dynamic_cast<HT_XOM_Plotter_Class_Factory*>(factory.get()), nullptr);
    SPMP<HT_Error_Handler> handler(new HT_Error_Handler);
    auto def = factory->HD_Create_Plotter_Definition(handler.get());
    auto* xom = dynamic_cast<HT_XOM_Plotter_Definition*>(def.get());
    ASSERT_NE(xom, nullptr);
    EXPECT_EQ(xom->device(), nullptr);
    EXPECT_NE(dynamic_cast<HT_XOM_Plotter_Capabilities*>(
                  factory->HD_Create_Plotter_Capabilities(L"a", L"b", L"c").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<HT_XOM_Plotter_Configuration*>(
                  factory->HD_Create_Plotter_Configuration(L"a", L"b", L"c").get()),
              nullptr);
    EXPECT_TRUE(factory->HD_Create_Caps_Loader(handler.get()));
    auto* xomFactory = static_cast<HT_XOM_Plotter_Class_Factory*>(factory.get());
    EXPECT_EQ(xomFactory->host_object(), nullptr);

    // Without its DRC data, the host's request fails with the driver's reason, not a null.
    PretendInstallation bare("");
    try {
        factory->HD_Create_Plotter_Definition(handler.get());
        ADD_FAILURE() << "a definition without DRC data";
    } catch (const HT_Error& e) {
        EXPECT_EQ(e.item(), "DRC File");
    }
}

}  // namespace
