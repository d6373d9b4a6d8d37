#include "tools/xomsim/PrinterDescription.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace xomsim {
namespace {

const ObjectId kSysDescr = {1, 3, 6, 1, 2, 1, 1, 1, 0};
const ObjectId kSysName = {1, 3, 6, 1, 2, 1, 1, 5, 0};
const ObjectId kSysLocation = {1, 3, 6, 1, 2, 1, 1, 6, 0};
const ObjectId kIfPhysAddress = {1, 3, 6, 1, 2, 1, 2, 2, 1, 6, 1};

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(PrinterDescription, IdentityAndObjectsBecomeMibObjectsInOrder) {
    PrinterDescription printer;
    std::string error;
    ASSERT_TRUE(
        ParsePrinterDescription("# comment\n\n"
                                "description  XOM Q1  printer \r\n"
                                "name q1\n"
                                "location lab bench 3\n"
                                "mac 00:1a:2B-3C-4D-5E\n"
                                "object .1.3.6.1.4.1.9.3 integer -42\n"
                                "object 1.3.6.1.4.1.9.1 hex 00 01FE ff\n"
                                "object 1.3.6.1.4.1.9.2 gauge 4294967295\n"
                                "object 1.3.6.1.4.1.9.10 octets Roll 1  wide\n",
                                "p.txt", printer, error))
        << error;
    EXPECT_EQ(printer.community, "tamsel");
    EXPECT_EQ(printer.name, "q1");
    EXPECT_EQ(printer.mac, (std::vector<std::uint8_t>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(printer.objects.at(kSysDescr).octets, Bytes("XOM Q1  printer"));
    EXPECT_EQ(printer.objects.at(kSysLocation).octets, Bytes("lab bench 3"));
    EXPECT_EQ(printer.objects.at(kIfPhysAddress).octets, printer.mac);
    EXPECT_EQ(printer.objects.at({1, 3, 6, 1, 4, 1, 9, 3}).kind, MibValue::Kind::Integer);
    EXPECT_EQ(printer.objects.at({1, 3, 6, 1, 4, 1, 9, 3}).number, -42);
    EXPECT_EQ(printer.objects.at({1, 3, 6, 1, 4, 1, 9, 1}).octets,
              (std::vector<std::uint8_t>{0x00, 0x01, 0xFE, 0xFF}));
    EXPECT_EQ(printer.objects.at({1, 3, 6, 1, 4, 1, 9, 2}).kind, MibValue::Kind::Gauge);
    EXPECT_EQ(printer.objects.at({1, 3, 6, 1, 4, 1, 9, 2}).number, 4294967295LL);
    EXPECT_EQ(printer.objects.at({1, 3, 6, 1, 4, 1, 9, 10}).octets, Bytes("Roll 1  wide"));
    // Identifier order, as GetNext walks it: arcs compare as numbers (9.2 before 9.10).
    std::vector<std::string> order;
    for (const auto& [id, value] : printer.objects) order.push_back(ObjectIdText(id));
    EXPECT_EQ(order, (std::vector<std::string>{"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.5.0",
                                               "1.3.6.1.2.1.1.6.0", "1.3.6.1.2.1.2.2.1.6.1",
                                               "1.3.6.1.4.1.9.1", "1.3.6.1.4.1.9.2",
                                               "1.3.6.1.4.1.9.3", "1.3.6.1.4.1.9.10"}));
}

TEST(PrinterDescription, BadLinesNameFileAndLine) {
    const std::string identity = "description XOM\nname q\nmac 00-11-22-33-44-55\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"description XOM\nname q\nmac 00-11-22-33-44\n",
         "f.txt:3: '00-11-22-33-44' is not a MAC address like 00-11-22-33-44-55"},
        {identity + "colour red\n",
         "f.txt:4: 'colour' is none of description, name, location, mac, community, object, "
         "colorants, anonymous, user-accounting, user, accounting-field, accounting-value, "
         "media, tray, stamp, print-quality-preset, hpgl-preset, folder-preset, exit-tray"},
        {identity + "object 1.3.x integer 1\n",
         "f.txt:4: '1.3.x' is not an object identifier like 1.3.6.1.2.1.1.5.0"},
        {identity + "object 1.3.6 integer 2147483648\n",
         "f.txt:4: '2147483648' is not a 32-bit integer"},
        {identity + "object 1.3.6 gauge -1\n", "f.txt:4: '-1' is not a gauge (0 to 4294967295)"},
        {identity + "object 1.3.6 hex 0 1\n", "f.txt:4: '0 1' is not hex octets like 00 1A FF"},
        {identity + "object 1.3.6 float 1.5\n",
         "f.txt:4: type 'float' is none of integer, octets, hex, gauge, uinteger"},
        {identity + "object 1.3.6 uinteger -1\n",
         "f.txt:4: '-1' is not a uinteger (0 to 4294967295)"},
        {identity + "\nobject 1.3.6.1.2.1.1.5.0 octets again\n",
         "f.txt:5: object 1.3.6.1.2.1.1.5.0 is given twice"},
        {identity + "community two words\n", "f.txt:4: 'community' needs one word"},
        {"name q\nmac 00-11-22-33-44-55\n", "f.txt: no 'description' line"},
        {"description XOM\nmac 00-11-22-33-44-55\n", "f.txt: no 'name' line"},
        {"description XOM\nname q\n", "f.txt: no 'mac' line"},
        {"description\n", "f.txt:1: 'description' needs a text"},
    };
    for (const auto& c : cases) {
        PrinterDescription printer;
        std::string error;
        EXPECT_FALSE(ParsePrinterDescription(c.text, "f.txt", printer, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

TEST(PrinterDescription, LoadsTheExamplesAndNamesAMissingFile) {
    for (const char* name : {"printer-q1.txt", "printer-q2.txt"}) {
        PrinterDescription printer;
        std::string error;
        ASSERT_TRUE(
            LoadPrinterDescription(std::string(XOM_TEST_EXAMPLES) + "/" + name, printer, error))
            << error;
        const auto& description = printer.objects.at(kSysDescr).octets;
        EXPECT_NE(std::string(description.begin(), description.end()).find("XOM"),
                  std::string::npos);
        EXPECT_EQ(printer.community, "tamsel");
        EXPECT_EQ(printer.mac.size(), 6u);
    }
    PrinterDescription printer;
    std::string error;
    EXPECT_FALSE(LoadPrinterDescription("/nonexistent/p.txt", printer, error));
    EXPECT_EQ(error, "/nonexistent/p.txt: cannot read: No such file or directory");
}

}  // namespace
}  // namespace xomsim
