#include "PlotterModelTestSupport.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

PretendInstallation::PretendInstallation(const std::string& drc) {
    static std::atomic<int> serial{0};
    m_dir = fs::temp_directory_path() /
            ("xom_model_" + std::to_string(getpid()) + "_" + std::to_string(serial++));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    if (!drc.empty()) writeDrc("en-US", drc);
    theApp().setDriverPath(driverPath());
    HT_Set_Language(L"en-US");
}

PretendInstallation::~PretendInstallation() {
    theApp().setDriverPath({});
    HT_Set_Language(L"en-US");
    std::error_code ec;
    fs::remove_all(m_dir, ec);
}

void PretendInstallation::writeDrc(const std::string& language, const std::string& text) const {
    fs::create_directories(m_dir / language);
    std::ofstream(m_dir / language / "xomq15.drc", std::ios::binary) << text;
}

std::string BuildDrcText() {
    std::ifstream in(XOM_TEST_DRC_TEMPLATE, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string drc = text.str();
    const std::string token = "@XOM_GENERATION@";
    for (std::size_t at = drc.find(token); at != std::string::npos; at = drc.find(token, at))
        drc.replace(at, token.size(), "15");
    return drc;
}
