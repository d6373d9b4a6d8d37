#include "hdi/PM_DRC_Caps_Loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

bool Parse(const std::string& text, PM_Object& o, std::string& error) {
    return o.load_text(text, "t.drc", error);
}

TEST(PMObject, TreeOfPropertiesWithChildrenInFileOrder) {
    PM_Object o;
    std::string error;
    ASSERT_TRUE(
        Parse("# comment\n"
              "[\\DPIA_directory\\Zeta]\n"
              "descriptor = XOM,Q Series\n"
              "info=  a , b  \n"
              "[\\DPIA_directory\\Alpha]\r\n"
              "; another comment\n"
              "quoted = \"  keep \\\"blanks\\\" \\\\ \"\n"
              "empty = \"\"\n",
              o, error))
        << error;
    EXPECT_EQ(o.children("\\"), std::vector<std::string>{"DPIA_directory"});
    EXPECT_EQ(o.children("\\DPIA_directory"), (std::vector<std::string>{"Zeta", "Alpha"}));
    EXPECT_EQ(o.GetProperty("\\DPIA_directory\\Zeta\\descriptor"), "XOM,Q Series");
    EXPECT_EQ(o.GetProperty("\\DPIA_directory\\Zeta\\info"), "a , b");
    EXPECT_EQ(o.GetProperty("\\DPIA_directory\\Alpha\\quoted"), "  keep \"blanks\" \\ ");
    EXPECT_TRUE(o.has_property("\\DPIA_directory\\Alpha\\empty"));
    EXPECT_EQ(o.getPropertySize("\\DPIA_directory\\Alpha\\empty"), 1u);
    EXPECT_EQ(o.getPropertySize("\\DPIA_directory\\Zeta\\descriptor"), 13u);
    EXPECT_EQ(o.getPropertySize("\\nothing"), 0u);
    EXPECT_EQ(o.properties("\\DPIA_directory\\Zeta"),
              (std::vector<std::string>{"descriptor", "info"}));
    EXPECT_EQ(o.property_line("\\DPIA_directory\\Zeta\\info"), 4);
}

TEST(PMObject, IteratorGivesChildNodesThenPropertiesAndNothingForALeaf) {
    PM_Object o;
    std::string error;
    ASSERT_TRUE(
        Parse("[\\DPIA_directory]\nnote = x\n"
              "[\\DPIA_directory\\Q]\ndescriptor = a,b\n"
              "[\\DPIA_directory\\Empty]\n",
              o, error))
        << error;
    auto it = o.newIterator("\\DPIA_directory");
    ASSERT_NE(it, nullptr);
    std::vector<std::pair<std::string, int>> seen;
    std::string name;
    int type = 0;
    while (it->nextNode(name, type)) seen.emplace_back(name, type);
    const std::vector<std::pair<std::string, int>> expected = {
        {"Q", PM_Object::kNodeTypeNode},
        {"Empty", PM_Object::kNodeTypeNode},
        {"note", PM_Object::kNodeTypeProperty}};
    EXPECT_EQ(seen, expected);
    // A node without entries iterates over nothing; a property or an unknown path is no node.
    auto empty = o.newIterator("\\DPIA_directory\\Empty");
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->nextNode(name, type));
    EXPECT_EQ(o.newIterator("\\DPIA_directory\\note"), nullptr);
    EXPECT_EQ(o.newIterator("\\nothing"), nullptr);
    EXPECT_NE(o.newIterator("\\"), nullptr);
}

TEST(PMObject, BadInputGivesFileLineAndReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"x = 1\n", "t.drc:1: property before the first node header"},
        {"[\\a]\n\n[\\b\n", "t.drc:3: unterminated node header"},
        {"[a]\n", "t.drc:1: node path must start with"},
        {"[\\a\\\\b]\n", "t.drc:1: empty or invalid component"},
        {"[\\a]\nnovalue\n", "t.drc:2: expected 'name = value'"},
        {"[\\a]\nx = 1\nx = 2\n", "t.drc:3: duplicate property '\\a\\x'"},
        {"[\\a]\nb = 1\n[\\a\\b]\n", "t.drc:3: '\\a\\b' is both a node and a property"},
        {"[\\a\\b]\n[\\a]\nb = 1\n", "t.drc:3: '\\a\\b' is both a node and a property"},
        {"[\\a]\nx = \"open\n", "t.drc:2: unterminated quoted value"},
        {"[\\a]\nx = \"a\\n\"\n", "t.drc:2: bad escape"},
        {"[\\a]\nx = \"a\" b\n", "t.drc:2: text after the closing quote"},
        {"[\\a]\nx = a\x01\n", "t.drc:2: control character"},
        {"[\\a]\n = 1\n", "t.drc:2: bad property name"},
    };
    for (const auto& [text, expected] : cases) {
        PM_Object o;
        std::string error;
        EXPECT_FALSE(Parse(text, o, error)) << text;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << "got: " << error;
    }
    PM_Object o;
    std::string error;
    EXPECT_FALSE(Parse("[\\a]\nx = " + std::string(9000, 'v') + "\n", o, error));
    EXPECT_NE(error.find("t.drc:2: line longer"), std::string::npos);
}

TEST(CompoundText, SplitsAtTheFirstComma) {
    std::string a, b;
    EXPECT_TRUE(extract_compound_str_ex("XOM,Q Series,x", a, b));
    EXPECT_EQ(a, "XOM");
    EXPECT_EQ(b, "Q Series,x");
    EXPECT_FALSE(extract_compound_str_ex("no separator", a, b));
}

class CapsLoaderTest : public ::testing::Test {
  protected:
    bool LoadText(const std::string& text, HT_Std_Plotter_Capabilities& caps, std::string& error) {
        const std::string path = ::testing::TempDir() + "caps_" + std::to_string(getpid()) + ".drc";
        std::ofstream(path) << text;
        SPMP<PM_DRC_Caps_Loader> loader(new PM_DRC_Caps_Loader(handler.get()));
        const bool ok = loader->load(path, caps, error);
        std::filesystem::remove(path);
        return ok;
    }
    SPMP<HT_Error_Handler> handler{new HT_Error_Handler()};
    const std::string kBase =
        "[\\DPIA_directory\\N]\ndescriptor = F,M\ninfo = f,m\n"
        "[\\media_sizes\\A]\ndisplay = 605\nwidth = 210\nlength = 297\nmargins = 5,5,5,5\n"
        "[\\resolutions\\R]\ndisplay = 541\ndpi = 600\n"
        "[\\color_modes\\C]\ndisplay = 565\ncolor_system = 1\n";
};

TEST_F(CapsLoaderTest, TheBuildsDrcDataHasEverythingTheDriverNeeds) {
    HT_Std_Plotter_Capabilities caps;
    std::string error;
    SPMP<PM_DRC_Caps_Loader> loader(new PM_DRC_Caps_Loader(handler.get()));
    ASSERT_TRUE(loader->load(XOM_TEST_DRC_15, caps, error)) << error;
    const HT_Media_Size* a4 = caps.find_media(L"ISO_A4");
    ASSERT_NE(a4, nullptr);
    EXPECT_EQ(a4->display_string, 605);
    EXPECT_EQ(a4->width_mm, 210);
    EXPECT_EQ(a4->length_mm, 297);
    EXPECT_EQ(a4->margin_left, 5);
    ASSERT_NE(caps.find_media(L"ANSI_A"), nullptr);
    EXPECT_EQ(caps.find_media(L"ANSI_A")->display_string, 631);
    EXPECT_NEAR(caps.find_media(L"ANSI_A")->width_mm, 215.9, 1e-9);
    EXPECT_EQ(caps.find_media(L"ARCH_E")->display_string, 640);
    EXPECT_EQ(caps.find_media(L"ANSI_E1")->display_string, 656);
    for (const auto& m : caps.get_media_capabilities()->sizes) {
        EXPECT_GE(m.display_string, 603);
        EXPECT_LE(m.display_string, 656);
        EXPECT_LT(m.width_mm, m.length_mm);
    }
    const int dpis[] = {600, 400, 300, 200, 100};
    ASSERT_EQ(caps.get_res_color_mem_capabilities()->resolutions.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(caps.get_res_color_mem_capabilities()->resolutions[i].dpi, dpis[i]);
        EXPECT_EQ(caps.get_res_color_mem_capabilities()->resolutions[i].display_string,
                  541 + static_cast<int>(i));
    }
    EXPECT_EQ(caps.find_color_mode(L"Color")->color_system, HT_COLOR_SYSTEM_RGB);
    EXPECT_EQ(caps.find_color_mode(L"Monochrome")->color_system, HT_COLOR_SYSTEM_BITONAL);
    EXPECT_EQ(caps.find_color_mode(L"Gray")->color_system, HT_COLOR_SYSTEM_RGB);
    EXPECT_EQ(caps.find_color_mode(L"255_Virtual_Pens_Mono")->color_system, HT_COLOR_SYSTEM_MAPPED);
    EXPECT_EQ(caps.find_color_mode(L"255_Virtual_Pens_Color")->color_system,
              HT_COLOR_SYSTEM_MAPPED);
    EXPECT_EQ(caps.get_media_capabilities()->sources,
              (std::vector<std::wstring>{L"Roll", L"Sheet"}));
    EXPECT_EQ(caps.default_media(), L"ISO_A4");
    EXPECT_EQ(caps.default_resolution(), L"600_DPI");
    EXPECT_EQ(caps.default_color_mode(), L"Color");
    // Every settings key the driver reads is declared with a default.
    const char* keys[] = {"LogFilePath",          "PromptAtPlotTime",      "ColorMode",
                          "MachineIpAddress",     "PlotDirectToIpAddress", "PutXMLinPlotFile",
                          "MachineSnmpCommunity", "UserPrintSecurity",     "AcctInfo1ValidPassword",
                          "DebugHeaderFilePath"};
    EXPECT_EQ(caps.get_custom_capabilities()->items.size(), 36u);
    for (const char* k : keys) {
        const std::wstring key(k, k + std::strlen(k));
        EXPECT_TRUE(std::any_of(caps.get_custom_capabilities()->items.begin(),
                                caps.get_custom_capabilities()->items.end(),
                                [&](const HT_Custom_Item& i) { return i.key == key; }))
            << k;
    }
    PM_Object drc;
    ASSERT_TRUE(drc.load(XOM_TEST_DRC_15, error));
    const auto nodes = drc.children("\\DPIA_directory");
    ASSERT_FALSE(nodes.empty());
    EXPECT_NE(drc.GetProperty("\\DPIA_directory\\" + nodes[0] + "\\info").find("xomq15.hdi"),
              std::string::npos);
}

TEST_F(CapsLoaderTest, MissingOrBadValuesAreRefusedWithTheLine) {
    HT_Std_Plotter_Capabilities caps;
    std::string error;
    ASSERT_TRUE(LoadText(kBase, caps, error)) << error;
    EXPECT_EQ(caps.default_media(), L"A");

    const std::pair<std::string, std::string> cases[] = {
        {kBase + "[\\resolutions\\Bad]\ndisplay = 1\ndpi = 0\n",
         ":17: 'dpi' must be a whole number"},
        {kBase + "[\\media_sizes\\B]\ndisplay = 1\nwidth = -3\nlength = 9\nmargins = 0,0,0,0\n",
         "'width' must be"},
        {kBase + "[\\media_sizes\\B]\ndisplay = 1\nwidth = 10\nlength = 9\nmargins = 5,5,0,0\n",
         "no printable area"},
        {kBase + "[\\media_sizes\\B]\ndisplay = 1\nwidth = 10\nlength = 9\nmargins = 1,1,1\n",
         "four lengths"},
        {kBase + "[\\color_modes\\X]\ndisplay = 1\ncolor_system = 3\n", "'color_system' must be"},
        {kBase + "[\\defaults]\nmedia = Nope\n", "default media names no entry"},
        {kBase + "[\\custom\\K]\ntype = long\ndefault = x\n", "'default' must be a whole number"},
        {kBase + "[\\custom\\K]\ntype = float\ndefault = 1\n", "'long' or 'string'"},
        {kBase + "[\\media_sizes\\B]\ndisplay = 1\n", "missing property '\\media_sizes\\B\\width'"},
        {"[\\media_sizes\\A]\nwidth = 1\n", "no \\DPIA_directory node"},
    };
    for (const auto& [text, expected] : cases) {
        HT_Std_Plotter_Capabilities c;
        EXPECT_FALSE(LoadText(text, c, error));
        EXPECT_NE(error.find(expected), std::string::npos) << "got: " << error;
        EXPECT_TRUE(c.get_media_capabilities()->sizes.empty());  // nothing half-loaded
    }
    EXPECT_FALSE(handler->reports().empty());
    EXPECT_EQ(handler->reports().back().message, HT_MSG_FILE_OR_VALUE_MISSING);
}

TEST_F(CapsLoaderTest, MissingFileIsAnError) {
    HT_Std_Plotter_Capabilities caps;
    std::string error;
    SPMP<PM_DRC_Caps_Loader> loader(new PM_DRC_Caps_Loader(handler.get()));
    EXPECT_FALSE(loader->load("/nonexistent/xomq15.drc", caps, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace
