#include "juxcommoncode/PlotLog/PlotLogPath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "PlotLogTestUtil.h"

namespace JuxNetwork {
namespace {

using namespace plotlogtest;

// Sets or clears the given variables for one test and restores them afterwards.
class ScopedEnv {
  public:
    void Set(const char* name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        for (auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

class PlotLogPathTest : public DataHomeTest {};

TEST_F(PlotLogPathTest, DataHomeWithTrailingSlashesGetsTheCreatedSubFolder) {
    ScopedEnv env;
    const std::string base = (home / "deep" / "data").string();
    env.Set("XDG_DATA_HOME", (base + "///").c_str());
    EXPECT_EQ(GetPlotLogPath(), fs::path(base + "/XomSeriesQ/AutoCAD_PlotLog.dat").wstring());
    EXPECT_TRUE(fs::is_directory(base + "/XomSeriesQ")) << "created with its missing parents";
}

TEST_F(PlotLogPathTest, FallsBackThroughHomeAndTemporaryFolders) {
    ScopedEnv env;
    const std::string h = home.string();
    env.Set("XDG_DATA_HOME", "relative/ignored");
    env.Set("HOME", (h + "/user").c_str());
    EXPECT_EQ(GetPlotLogPath(),
              fs::path(h + "/user/.local/share/XomSeriesQ/AutoCAD_PlotLog.dat").wstring());

    env.Set("XDG_DATA_HOME", nullptr);
    env.Set("HOME", nullptr);
    env.Set("TMPDIR", nullptr);
    env.Set("TEMP", nullptr);
    env.Set("TMP", (h + "/tmp/").c_str());
    EXPECT_EQ(GetPlotLogPath(), fs::path(h + "/tmp/XomSeriesQ/AutoCAD_PlotLog.dat").wstring());
    env.Set("TEMP", (h + "/temp").c_str());
    EXPECT_EQ(GetPlotLogPath(), fs::path(h + "/temp/XomSeriesQ/AutoCAD_PlotLog.dat").wstring());
    env.Set("TMPDIR", (h + "/tmpdir").c_str());
    EXPECT_EQ(GetPlotLogPath(), fs::path(h + "/tmpdir/XomSeriesQ/AutoCAD_PlotLog.dat").wstring());
}

TEST_F(PlotLogPathTest, BaseFolderIsUsedWhenTheSubFolderCannotBeMade) {
    ScopedEnv env;
    // A file named XomSeriesQ blocks the sub-folder.
    std::ofstream(home / "XomSeriesQ") << "not a folder";
    EXPECT_EQ(GetPlotLogPath(), (home / "AutoCAD_PlotLog.dat").wstring());
}

}  // namespace
}  // namespace JuxNetwork
