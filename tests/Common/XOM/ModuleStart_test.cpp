#include "Common/XOM/ModuleStart.h"

#include <gtest/gtest.h>

#include "Common/XOM/DriverApp.h"
#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/ThreadLocale.h"
#include "platform/MessageService.h"

namespace {

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    xomplatform::MessageIcon icon;
};

class ModuleStartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        xomplatform::SetMessageSink(
            [this](const std::wstring& t, const std::wstring& c, xomplatform::MessageIcon i) {
                shown.push_back({t, c, i});
            });
    }
    void TearDown() override {
        XomModuleExit();
        xomplatform::SetMessageSink({});
    }
    std::vector<ShownMessage> shown;
};

TEST(ResourceLibraryPath, ReplacesTheFileNamesExtension) {
    EXPECT_EQ(ResourceLibraryPathFor("/opt/host/drv/xomq15.hdi"), "/opt/host/drv/xomq15Res.so");
    EXPECT_EQ(ResourceLibraryPathFor("xomq12.hdi"), "xomq12Res.so");
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(ResourceLibraryPathFor("/opt/v1.2/driver"), "/opt/v1.2/driverRes.so");
}

TEST_F(ModuleStartTest, LoadsTheResourceLibraryAndItsLanguage) {
    ASSERT_TRUE(XomModuleStart(XOM_FAKE_DRIVER_PATH));
    EXPECT_TRUE(shown.empty());
    EXPECT_NE(theApp().resourceModule(), nullptr);
    EXPECT_EQ(theApp().languageId(), 0x0C0A);
    EXPECT_EQ(theApp().codePage(), 1252);

    std::wstring text;
    EXPECT_TRUE(LoadLocalizedString(218, text));
    EXPECT_EQ(text, L"Trazado cancelado");
    // Texts the translation lacks (or left empty) fall back to the driver's, marked with ".".
    EXPECT_EQ(LocalizedString(215), L"Plot is empty..");
    EXPECT_EQ(LocalizedString(219), L"Plot complete.");
    text = L"stale";
    EXPECT_FALSE(LoadLocalizedString(9999, text));
    EXPECT_TRUE(text.empty());

    XomModuleExit();
    EXPECT_EQ(theApp().resourceModule(), nullptr);
    EXPECT_EQ(LocalizedString(218), L"Plot canceled") << "without a resource library: own texts";
}

TEST_F(ModuleStartTest, MissingResourceLibraryRefusesToStart) {
    EXPECT_FALSE(XomModuleStart("/nonexistent/folder/xomq15.hdi"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"Error: Resource DLL not found: /nonexistent/folder/xomq15Res.so");
    EXPECT_TRUE(shown[0].caption.empty());
    EXPECT_EQ(theApp().resourceModule(), nullptr);
}

TEST_F(ModuleStartTest, StartRestoresTheThreadLocale) {
    const locale_t before = uselocale(locale_t{});
    ASSERT_TRUE(XomModuleStart(XOM_FAKE_DRIVER_PATH));
    EXPECT_EQ(uselocale(locale_t{}), before);
}

TEST(DriverIdentity, IsTheBuildsIdentity) {
    const HT_Driver_Identity* identity = HD_Get_Driver_Identity();
    ASSERT_NE(identity, nullptr);
    EXPECT_EQ(identity->sdk_generation, 15);
    EXPECT_STREQ(identity->hdi_file, "xomq15.hdi");
}

TEST(ThreadLocale, LanguageIdentifiersMapToLocaleNames) {
    EXPECT_EQ(LocaleNameForLanguage(0x0409), "en_US");
    EXPECT_EQ(LocaleNameForLanguage(0x0C07), "de_AT");
    EXPECT_EQ(LocaleNameForLanguage(0x1407), "de_DE") << "unknown sublanguage: the primary's";
    EXPECT_EQ(LocaleNameForLanguage(0x0404), "zh_TW");
    EXPECT_EQ(LocaleNameForLanguage(0x0000), "");
    EXPECT_EQ(LocaleNameForLanguage(0x007F), "");
}

TEST(ThreadLocale, ScopeSwitchesAndRestores) {
    const locale_t before = uselocale(locale_t{});
    {
        CScopedThreadLocale scope(0x0409);
        // C.UTF-8 at least is always there on the machines we build on.
        EXPECT_TRUE(scope.switched());
        EXPECT_FALSE(scope.name().empty());
        EXPECT_NE(uselocale(locale_t{}), before);
    }
    EXPECT_EQ(uselocale(locale_t{}), before);
}

}  // namespace
