#include "Common/xompldef/DriverIdentification.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Common/XOM/DriverApp.h"

namespace {

TEST(DriverIdentification, VersionTextNamesTheBuild) {
    EXPECT_EQ(DriverVersionText(), L"15.0.0.0, xomq15.hdi: [1.0.24.x64], xomq15.drc:");
}

TEST(DriverIdentification, LocaleIsTheResourceListElseTheDriversOwnInUpperCaseHex) {
    const std::vector<std::uint32_t> resources = {0x04B00409u, 0x04E40407u, 0x0000000Au};
    const std::vector<std::uint32_t> own = {0x04B00409u};
    EXPECT_EQ(DriverLocaleText(resources, own), L"4B00409,4E40407,A");
    // A resource library without a translation list falls back to the driver's own list.
    EXPECT_EQ(DriverLocaleText({}, own), L"4B00409");
    EXPECT_EQ(DriverLocaleText({}, {}), L"");
    EXPECT_EQ(DriverLocaleText({}, DriverOwnTranslations()), L"4B00409");
    EXPECT_TRUE(ResourceTranslations(nullptr).empty());
}

TEST(DriverIdentification, DrcPathIsTheLanguageFolderBesideTheDriver) {
    EXPECT_EQ(DrcPathFor("/opt/xom/drivers/xomq15.hdi", L"en-US"),
              "/opt/xom/drivers/en-US/xomq15.drc");
    EXPECT_EQ(DrcPathFor("/opt/x.y/drivers/xomq12.hdi", L"de-DE"),
              "/opt/x.y/drivers/de-DE/xomq12.drc");
    // A file name without an extension keeps its whole name; a dot in a folder is not one.
    EXPECT_EQ(DrcPathFor("/opt/x.y/xomq", L"en-US"), "/opt/x.y/en-US/xomq.drc");
    EXPECT_EQ(DrcPathFor("xomq15.hdi", L"fr-FR"), "fr-FR/xomq15.drc");
}

TEST(DriverIdentification, ModulePathIsTheStartedDriversElseTheFileHoldingTheCode) {
    theApp().setDriverPath("/opt/xom/xomq15.hdi");
    std::string path;
    ASSERT_TRUE(DriverModulePath(path));
    EXPECT_EQ(path, "/opt/xom/xomq15.hdi");
    theApp().setDriverPath({});
    ASSERT_TRUE(DriverModulePath(path));
    // Linked into this test program, the code lives in the program itself.
    EXPECT_NE(path.find("xom_plotter_model_tests"), std::string::npos) << path;
}

TEST(DriverIdentification, OperatingSystemVersionIsPlatformMajorMinor) {
    utsname u{};
    ASSERT_EQ(uname(&u), 0);
    char* end = nullptr;
    const long major = std::strtol(u.release, &end, 10);
    ASSERT_EQ(*end, '.') << u.release;
    const long minor = std::strtol(end + 1, nullptr, 10);
    EXPECT_EQ(OperatingSystemVersionText(),
              L"2," + std::to_wstring(major) + L"," + std::to_wstring(minor));
}

}  // namespace
