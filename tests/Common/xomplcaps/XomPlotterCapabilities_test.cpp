#include "Common/xomplcaps/XomPlotterCapabilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Common/xompldef/XomPlotterClassFactory.h"
#include "hdi/HT_Error.h"

namespace {

constexpr const char* kConstructor = "HT_XOM_Plotter_Capabilities::HT_XOM_Plotter_Capabilities";

// A factory that makes no object of one kind (counting creators from 0), and remembers the parts
// it made.
class PartialFactory : public HT_XOM_Plotter_Class_Factory {
  public:
    explicit PartialFactory(int missing) : m_missing(missing) {}
    int calls = 0;
    HT_Media_Capabilities* media = nullptr;
    HT_Custom_Capabilities* custom = nullptr;

    template <class T>
    SPMP<T> maybe(SPMP<T> made) {
        return calls++ == m_missing ? SPMP<T>() : made;
    }
    SPMP<HT_Media_Capabilities> HD_Create_Media_Capabilities() override {
        auto p = maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Media_Capabilities());
        media = p.get();
        return p;
    }
    SPMP<HT_IO_Capabilities> HD_Create_IO_Capabilities() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_IO_Capabilities());
    }
    SPMP<HT_Phys_Pen_Capabilities> HD_Create_Phys_Pen_Capabilities() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Phys_Pen_Capabilities());
    }
    SPMP<HT_Raster_Capabilities> HD_Create_Raster_Capabilities() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Raster_Capabilities());
    }
    SPMP<HT_Linetype_Capabilities> HD_Create_Linetype_Capabilities() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Linetype_Capabilities());
    }
    SPMP<HT_ResColorMem_Capabilities> HD_Create_ResColorMem_Capabilities() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_ResColorMem_Capabilities());
    }
    SPMP<HT_Init_Term_Capabilities> HD_Create_Init_Term_Capabilities() override {
        return maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Init_Term_Capabilities());
    }
    SPMP<HT_Custom_Capabilities> HD_Create_Custom_Capabilities() override {
        auto p = maybe(HT_XOM_Plotter_Class_Factory::HD_Create_Custom_Capabilities());
        custom = p.get();
        return p;
    }

  private:
    int m_missing;
};

TEST(XomPlotterCapabilities, EveryPartComesFromTheFactoryAndAMissingOneIsNamed) {
    // Held as the base the constructor takes, so no converted temporary comes and goes.
    auto* whole = new PartialFactory(-1);
    SPMP<HT_Std_Plotter_Class_Factory> complete(whole);
    SPMP<HT_XOM_Plotter_Capabilities> caps(new HT_XOM_Plotter_Capabilities(complete));
    EXPECT_EQ(whole->calls, 8);
    EXPECT_EQ(caps->get_media_capabilities(), whole->media);
    EXPECT_EQ(caps->get_custom_capabilities(), whole->custom);
    // The factory is released when the capabilities are made.
    EXPECT_EQ(whole->ref_count(), 1);

    const char* items[] = {"pMediaCaps",    "pIOCaps",  "pPhysPenCaps",  "pRasterCaps",
                           "pLinetypeCaps", "pRCMCaps", "pInitTermCaps", "pCustomCaps"};
    for (int missing = 0; missing < 8; ++missing) {
        SPMP<HT_Std_Plotter_Class_Factory> factory(new PartialFactory(missing));
        try {
            SPMP<HT_XOM_Plotter_Capabilities> made(new HT_XOM_Plotter_Capabilities(factory));
            ADD_FAILURE() << "made without " << items[missing];
        } catch (const HT_Error& e) {
            EXPECT_EQ(e.message(), HT_MSG_OBJECT_NOT_CREATED);
            EXPECT_EQ(e.item(), items[missing]);
            EXPECT_EQ(e.function(), kConstructor);
            EXPECT_EQ(std::count(e.contexts().begin(), e.contexts().end(), kConstructor), 1);
        }
    }
    try {
        SPMP<HT_XOM_Plotter_Capabilities> made(
            new HT_XOM_Plotter_Capabilities(SPMP<HT_Std_Plotter_Class_Factory>()));
        ADD_FAILURE() << "made without a factory";
    } catch (const HT_Error& e) {
        EXPECT_EQ(e.item(), "pCF");
    }
}

TEST(XomPlotterCapabilities, ACopyHasPartsOfItsOwn) {
    SPMP<HT_XOM_Plotter_Capabilities> caps(new HT_XOM_Plotter_Capabilities);
    caps->get_media_capabilities()->sizes.push_back({L"ISO_A4", 605, 210, 297});
    auto copy = caps->copy();
    copy->get_media_capabilities()->sizes.clear();
    EXPECT_EQ(caps->get_media_capabilities()->sizes.size(), 1u);
    EXPECT_NE(copy->get_media_capabilities(), caps->get_media_capabilities());
    EXPECT_NE(copy->find_media(L"ISO_A4"), caps->find_media(L"ISO_A4"));
}

}  // namespace
