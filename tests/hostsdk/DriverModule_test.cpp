#include "hdi/HT_Driver_Module.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "hdi/HT_Plotter_Device_Data.h"

namespace {

class DriverModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        log = ::testing::TempDir() + "fake_driver_" + std::to_string(getpid()) + ".log";
        std::filesystem::remove(log);
        setenv("FAKE_DRIVER_LOG", log.c_str(), 1);
        unsetenv("FAKE_DRIVER_FAIL");
    }
    void TearDown() override {
        unsetenv("FAKE_DRIVER_LOG");
        unsetenv("FAKE_DRIVER_FAIL");
        std::filesystem::remove(log);
    }
    std::string Log() {
        std::ifstream in(log);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string log;
};

TEST_F(DriverModuleTest, LoadsStartsMakesDevicesAndExitsOnUnload) {
    std::string error;
    auto module = HT_Driver_Module::load(XOM_TEST_FAKE_DRIVER, error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_TRUE(error.empty());
    ASSERT_NE(module->identity(), nullptr);
    EXPECT_STREQ(module->identity()->hdi_file, "fake.hdi");
    SPMP<HT_Plotter_Device_Data> device(module->create_device());
    EXPECT_NE(device.get(), nullptr);
    device.reset();
    EXPECT_EQ(Log(), "start;");
    module.reset();
    EXPECT_EQ(Log(), "start;exit;");
}

TEST_F(DriverModuleTest, FailedStartUnloadsWithoutExit) {
    setenv("FAKE_DRIVER_FAIL", "1", 1);
    std::string error;
    auto module = HT_Driver_Module::load(XOM_TEST_FAKE_DRIVER, error);
    EXPECT_EQ(module, nullptr);
    EXPECT_NE(error.find("driver failed to initialise"), std::string::npos);
    EXPECT_EQ(Log(), "start;");
}

TEST_F(DriverModuleTest, MissingFileOrNoEntryPointIsAnError) {
    std::string error;
    EXPECT_EQ(HT_Driver_Module::load("/nonexistent/xomq15.hdi", error), nullptr);
    EXPECT_NE(error.find("cannot load driver"), std::string::npos);
    EXPECT_EQ(HT_Driver_Module::load("", error), nullptr);
    EXPECT_FALSE(error.empty());
    // A library that is no driver: the host SDK itself.
    EXPECT_EQ(HT_Driver_Module::load(XOM_TEST_SDK_LIBRARY, error), nullptr);
    EXPECT_NE(error.find("HD_Module_Start"), std::string::npos);
}

TEST(SdkGeneration, TheLinkedLibraryReportsItsGeneration) {
    EXPECT_EQ(HT_SDK_Generation(), 15);
    EXPECT_STREQ(HT_SDK_Version_Text(), "15.0.0.0");
}

}  // namespace
