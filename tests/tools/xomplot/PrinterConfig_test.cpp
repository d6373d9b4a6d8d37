#include "tools/xomplot/PrinterConfig.h"

#include "tools/xomplot/ConfigEdit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using xomplot::PrinterConfig;
using namespace std::string_literals;

HT_Std_Plotter_Capabilities Caps() {
    HT_Std_Plotter_Capabilities c;
    c.get_custom_capabilities()->items = {{L"PrintExit", L"long", L"0"},
                                          {L"UserName", L"string", L""}};
    return c;
}

TEST(PrinterConfig, ParsesKeysValuesAndEscapes) {
    std::vector<std::string> problems;
    const PrinterConfig c = xomplot::ParsePrinterConfig(
        "# comment\n  PrintExit = 3 \r\nUserName = a\\\\b\\nc\\td\nUserName = second\n", "p.conf",
        problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(*c.find("PrintExit"), "3");
    EXPECT_EQ(*c.find("UserName"), "second");
}

TEST(PrinterConfig, DamagedLinesAreReportedWithTheirLineAndTheRestIsKept) {
    std::vector<std::string> problems;
    const PrinterConfig c = xomplot::ParsePrinterConfig(
        "PrintExit = 2\nno equals sign\nbad key! = 1\nX = \\q\n\x01\xff junk = 1\nA = 1\0\nUserNa"s,
        "p.conf", problems);
    EXPECT_EQ(c.items.size(), 1u);
    ASSERT_EQ(problems.size(), 6u);
    EXPECT_EQ(problems[0], "p.conf:2: expected KEY = VALUE, skipped");
    EXPECT_EQ(problems[1], "p.conf:3: 'bad key!' is not a key, skipped");
    EXPECT_EQ(problems[2], "p.conf:4: bad escape in the value of 'X', skipped");
    EXPECT_EQ(problems[3], "p.conf:5: not a text line (binary data), skipped");
    EXPECT_EQ(problems[4], "p.conf:6: not a text line (binary data), skipped");
    EXPECT_EQ(problems[5], "p.conf:7: line cut short (no '='), skipped");
}

TEST(PrinterConfig, ValuesSurviveAWriteAndARead) {
    PrinterConfig c;
    c.set("UserName", "Jos\xC3\xA9 \\ \"x\"\n\ttab");
    c.set("PrintExit", "-4");
    std::vector<std::string> problems;
    const PrinterConfig again =
        xomplot::ParsePrinterConfig(xomplot::FormatPrinterConfig(c, "n"), "p.conf", problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(again.items, c.items);
}

TEST(PrinterConfig, TheFileIsReplacedWholeAndReadableByItsOwnerOnly) {
    const fs::path dir = fs::path(testing::TempDir()) / "xom_printer_config";
    fs::remove_all(dir);
    const std::string path = (dir / "sub" / "office.conf").string();
    PrinterConfig c;
    c.set("UserPrintSecurity", "1");
    std::string error;
    ASSERT_TRUE(xomplot::WritePrinterConfig(path, c, "office", error)) << error;
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    c.set("UserName", "second");
    ASSERT_TRUE(xomplot::WritePrinterConfig(path, c, "office", error)) << error;
    PrinterConfig read;
    std::vector<std::string> problems;
    ASSERT_TRUE(xomplot::ReadPrinterConfig(path, read, problems, error)) << error;
    EXPECT_EQ(read.items, c.items);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "sub"), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

TEST(PrinterConfig, UnwritableFolderIsAnErrorAndNothingIsLost) {
    PrinterConfig c;
    std::string error;
    EXPECT_FALSE(xomplot::WritePrinterConfig("/proc/xom/office.conf", c, "office", error));
    EXPECT_FALSE(error.empty());
}

TEST(PrinterConfig, KeysAndTypesAreCheckedAgainstTheDriversItems) {
    const HT_Std_Plotter_Capabilities caps = Caps();
    EXPECT_EQ(xomplot::CheckConfigItem(caps, "PrintExit", "2"), "");
    EXPECT_EQ(xomplot::CheckConfigItem(caps, "PrintExit", "rear"),
              "'PrintExit' takes a whole number, not 'rear'");
    EXPECT_EQ(xomplot::CheckConfigItem(caps, "PrintExit", "2147483648"),
              "'PrintExit' takes a whole number, not '2147483648'");
    EXPECT_EQ(xomplot::CheckConfigItem(caps, "Nope", "1"), "unknown key 'Nope'");
    EXPECT_EQ(xomplot::CheckConfigItem(caps, "media", "anything"), "");

    PrinterConfig c;
    c.set("PrintExit", "4");
    c.set("UserName", "J\xC3\xBC");
    c.set("Nope", "1");
    HT_Std_Plotter_Configuration target;
    std::vector<std::string> problems;
    xomplot::ApplyPrinterConfig(c, caps, target, "p.conf", problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "p.conf: unknown key 'Nope', ignored");
    const HT_Custom_Config_Item* exit = target.custom_items().find(L"PrintExit");
    ASSERT_NE(exit, nullptr);
    ASSERT_TRUE(exit->data->is_long());
    EXPECT_EQ(static_cast<const HT_Std_Long_Custom_Data&>(*exit->data).data(), 4);
    const HT_Custom_Config_Item* user = target.custom_items().find(L"UserName");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(static_cast<const HT_Std_String_Custom_Data&>(*user->data).data(), L"J\u00FC");
}

// What the settings dialog stored replaces the file's driver items; the host's own choices stay,
// and any text survives the file.
TEST(PrinterConfig, EditedItemsReplaceTheDriversAndKeepTheHostsOwn) {
    PrinterConfig config;
    config.set("media", "ISO_A3");
    config.set("UserName", "old");
    HT_Std_Plotter_Configuration host;
    host.custom_items().append(
        {L"UserName", SPMP<HT_Custom_Data>(new HT_Std_String_Custom_Data(L"J\u00f6rg = \\x\n"))});
    host.custom_items().append(
        {L"PrintExit", SPMP<HT_Custom_Data>(new HT_Std_Long_Custom_Data(-2))});
    xomplot::TakeCustomItems(host, config);
    std::vector<std::string> problems;
    const PrinterConfig back =
        xomplot::ParsePrinterConfig(xomplot::FormatPrinterConfig(config, "x"), "x", problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(back.items.size(), 3u);
    EXPECT_EQ(*back.find("media"), "ISO_A3");
    EXPECT_EQ(*back.find("UserName"), "J\xc3\xb6rg = \\x\n");
    EXPECT_EQ(*back.find("PrintExit"), "-2");
}

TEST(PrinterConfig, NamesCannotLeaveTheFolder) {
    EXPECT_TRUE(xomplot::IsValidConfigName("office-2.a_b"));
    for (const char* bad : {"", "../x", ".hidden", "a/b", "a b", "\xC3\xA9"})
        EXPECT_FALSE(xomplot::IsValidConfigName(bad)) << bad;
}

TEST(PrinterConfig, TheFolderFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/srv/cfg", 1);
    EXPECT_EQ(xomplot::ConfigPath("q"), "/srv/cfg/xomplot/printers/q.conf");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    EXPECT_NE(xomplot::ConfigDirectory().find("/.config/xomplot/printers"), std::string::npos);
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
