#include "Common/xomplcfg/XomPlotterConfiguration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Common/xompldef/XomPlotterClassFactory.h"
#include "hdi/HT_Error.h"

namespace {

constexpr const char* kConstructor = "HT_XOM_Plotter_Configuration::HT_XOM_Plotter_Configuration";

// A factory that makes no configuration part of one kind (counting creators from 0).
class PartialFactory : public HT_XOM_Plotter_Class_Factory {
  public:
    explicit PartialFactory(int missing) : m_missing(missing) {}
    int calls = 0;
    HT_IO_Configuration* io = nullptr;

    template <class T>
    SPMP<T> maybe(SPMP<T> made) {
        return calls++ == m_missing ? SPMP<T>() : made;
    }
    SPMP<HT_Media_Configuration> HD_Create_Media_Configuration() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Media_Configuration());
    }
    SPMP<HT_IO_Configuration> HD_Create_IO_Configuration() override {
        auto p = maybe(HT_XOM_Plotter_Class_Factory::HD_Create_IO_Configuration());
        io = p.get();
        return p;
    }
    SPMP<HT_Phys_Pen_Configuration> HD_Create_Phys_Pen_Configuration() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Phys_Pen_Configuration());
    }
    SPMP<HT_ResColorMem_Configuration> HD_Create_ResColorMem_Configuration() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_ResColorMem_Configuration());
    }
    SPMP<HT_Init_Term_Configuration> HD_Create_Init_Term_Configuration() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Init_Term_Configuration());
    }
    SPMP<HT_Custom_Configuration> HD_Create_Custom_Configuration() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Custom_Configuration());
    }

  private:
    int m_missing;
};

TEST(XomPlotterConfiguration, EveryPartComesFromTheFactoryAndAMissingOneIsNamed) {
    // Held as the base the constructor takes, so no converted temporary comes and goes.
    auto* whole = new PartialFactory(-1);
    SPMP<HT_Std_Plotter_Class_Factory> complete(whole);
    SPMP<HT_XOM_Plotter_Configuration> config(new HT_XOM_Plotter_Configuration(complete));
    EXPECT_EQ(whole->calls, 6);
    EXPECT_EQ(config->get_io_configuration(), whole->io);
    EXPECT_EQ(whole->ref_count(), 1);

    const char* items[] = {"pMediaCfg", "pIOCfg",       "pPhysPenCfg",
                           "pRCMCfg",   "pInitTermCfg", "pCustomCfg"};
    for (int missing = 0; missing < 6; ++missing) {
        SPMP<HT_Std_Plotter_Class_Factory> factory(new PartialFactory(missing));
        try {
            SPMP<HT_XOM_Plotter_Configuration> made(new HT_XOM_Plotter_Configuration(factory));
            ADD_FAILURE() << "made without " << items[missing];
        } catch (const HT_Error& e) {
            EXPECT_EQ(e.message(), HT_MSG_OBJECT_NOT_CREATED);
            EXPECT_EQ(e.item(), items[missing]);
            EXPECT_EQ(e.function(), kConstructor);
            EXPECT_EQ(std::count(e.contexts().begin(), e.contexts().end(), kConstructor), 1);
        }
    }
}

TEST(XomPlotterConfiguration, ACopyHasPartsOfItsOwn) {
    SPMP<HT_XOM_Plotter_Configuration> config(new HT_XOM_Plotter_Configuration);
    config->get_io_configuration()->output_file = L"a.plt";
    config->raster_enabled = 3;
    auto copy = config->copy();
    copy->get_io_configuration()->output_file = L"b.plt";
    EXPECT_EQ(config->output_name(), L"a.plt");
    EXPECT_EQ(copy->raster_enabled, 3);
}

}  // namespace
