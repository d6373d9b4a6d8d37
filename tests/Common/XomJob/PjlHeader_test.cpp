#include "Common/XomJob/PjlHeader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

namespace {

PjlHeaderInputs Inputs() {
    PjlHeaderInputs in;
    in.resolutionDpi = 600;
    in.drawingName = L"Floor plan";
    in.productName = L"AutoCAD";
    in.targetDevice = L"Q Series";
    in.userName = std::string("jdoe");
    in.localTime.tm_year = 2026 - 1900;
    in.localTime.tm_mon = 11;
    in.localTime.tm_mday = 9;
    in.localTime.tm_hour = 7;
    in.localTime.tm_min = 5;
    in.localTime.tm_sec = 3;
    in.driverVersion = L"1.0.24.x64";
    in.hdiVersion = L"15.0.0.0";
    return in;
}

std::string Header(const PjlHeaderInputs& in) {
    std::string text;
    WritePjlHeader(in, text);
    return text;
}

// The parts of the block: the Universal Exit Language, then each CR LF line.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    const std::string uel = "\x1B%-12345X";
    if (text.compare(0, uel.size(), uel) != 0) return {"<no UEL>"};
    lines.push_back(uel);
    std::size_t pos = uel.size();
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

TEST(WritePjlHeader, TheBlockByteForByte) {
    EXPECT_EQ(Header(Inputs()),
              "\x1B%-12345X"  // Universal Exit Language, no line end
              "@PJL COMMENT Source=AutoCAD\r\n"
              "@PJL COMMENT ComputerUserName=jdoe\r\n"
              "@PJL COMMENT Drawing=Floor plan\r\n"
              "@PJL COMMENT SourceProductName=AutoCAD\r\n"
              "@PJL COMMENT TargetDevice=Q Series\r\n"
              "@PJL COMMENT Time=2026-12-09 07:05:03\r\n"
              "@PJL COMMENT DriverVersion:xomq 1.0.24.x64  HDI:15.0.0.0\r\n"  // two blanks
              "@PJL SET RESOLUTION = 600\r\n"
              "@PJL ENTER LANGUAGE = HPGL2\r\n");
}

TEST(WritePjlHeader, AppendsToTheGivenText) {
    std::string text = "ticket";
    WritePjlHeader(Inputs(), text);
    EXPECT_EQ(text.substr(0, 7), "ticket\x1B");
}

TEST(WritePjlHeader, WithoutTargetDeviceTheBlockHasNineParts) {
    PjlHeaderInputs in = Inputs();
    in.targetDevice.reset();
    const auto lines = Lines(Header(in));
    ASSERT_EQ(lines.size(), 9u);
    for (const auto& l : lines) EXPECT_EQ(l.find("TargetDevice"), std::string::npos);
}

TEST(WritePjlHeader, UnsetOrEmptyUserNameIsAutoCADUser) {
    PjlHeaderInputs in = Inputs();
    in.userName.reset();
    EXPECT_EQ(Lines(Header(in))[2], "@PJL COMMENT ComputerUserName=AutoCAD user");
    in.userName = std::string();
    EXPECT_EQ(Lines(Header(in))[2], "@PJL COMMENT ComputerUserName=AutoCAD user");
}

TEST(WritePjlHeader, LongUserNamesAreCutAt299Bytes) {
    PjlHeaderInputs in = Inputs();
    in.userName = std::string(400, 'u');
    EXPECT_EQ(Lines(Header(in))[2], "@PJL COMMENT ComputerUserName=" + std::string(299, 'u'));
}

// A value must not end its comment line or start an escape sequence of its own.
TEST(WritePjlHeader, ControlCharactersCannotInjectLines) {
    PjlHeaderInputs in = Inputs();
    in.drawingName =
        L"a\r\n@PJL SET COPIES=99\x1B"
        L"E";
    in.userName = std::string("x\ny");
    in.productName = L"P\x85Q";
    in.targetDevice = L"dev\r";
    const auto lines = Lines(Header(in));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[2], "@PJL COMMENT ComputerUserName=x?y");
    EXPECT_EQ(lines[3], "@PJL COMMENT Drawing=a??@PJL SET COPIES=99?E");
    EXPECT_EQ(lines[4], "@PJL COMMENT SourceProductName=P?Q");
    EXPECT_EQ(lines[5], "@PJL COMMENT TargetDevice=dev?");
    const std::string text = Header(in);
    EXPECT_EQ(text.find('\x1B', 1), std::string::npos);
}

TEST(WritePjlHeader, ANameTheLocaleCannotEncodeGivesAnEmptyValue) {
    // The plain C locale encodes ASCII only.
    const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t previous = uselocale(c);
    PjlHeaderInputs in = Inputs();
    in.drawingName = L"M\u00FCller";
    const auto lines = Lines(Header(in));
    uselocale(previous);
    freelocale(c);
    EXPECT_EQ(lines[3], "@PJL COMMENT Drawing=");
}

TEST(WritePjlHeader, NamesAreConvertedInTheCurrentLocale) {
    const locale_t utf8 = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
    ASSERT_NE(utf8, nullptr);
    const locale_t previous = uselocale(utf8);
    PjlHeaderInputs in = Inputs();
    in.drawingName = L"M\u00FCller \U0001F4D0";
    const auto lines = Lines(Header(in));
    uselocale(previous);
    freelocale(utf8);
    EXPECT_EQ(lines[3], "@PJL COMMENT Drawing=M\xC3\xBCller \xF0\x9F\x93\x90");
}

}  // namespace
