#include "Common/XomJob/JobTicket.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Common/XomJob/CredentialHash.h"
#include "CredentialHashTestSupport.h"
#include "support/GoldenFile.h"

namespace {

std::tm TicketTime() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 58;
    return t;
}

// A printer with presets, media, a user and two password-protected accounting fields.
CXomPrinterData Printer() {
    CXomPrinterData d;
    d.m_userAccounting.m_sessionSalt = TestSalt(0x21, 64);
    d.m_userAccounting.m_userAccess = 1;
    auto named = [](auto entry, const wchar_t* name, std::int32_t id) {
        entry.m_name = name;
        entry.m_id = id;
        return entry;
    };
    d.m_hpglPresets = {named(CXomHpglPresetEntry{}, L"Lines", 3),
                       named(CXomHpglPresetEntry{}, L"Lines", 4)};
    d.m_printQualityPresets = {named(CXomPrintQualityPresetEntry{}, L"Best", 12)};
    d.m_folderPresets = {named(CXomFolderPresetEntry{}, L"Z-Fold", -2)};
    d.m_stamps = {named(CXomStampEntry{}, L"Draft", 7)};
    CXomMediaEntry media = named(CXomMediaEntry{}, L"Bond 80", 0);
    media.m_id64 = 4294967296ull;
    media.m_type = 4000000000u;
    d.m_media = {media};
    CXomUserEntry user = named(CXomUserEntry{}, L"jdoe", 0);
    user.m_serverAuthSalt = TestSalt(0x31, 64);
    d.m_users = {user};
    d.m_accountingInformation.resize(2);
    d.m_accountingInformation[0].m_access = 4;
    d.m_accountingInformation[1].m_access = 4;
    CXomAccountingInformationChildEntry p1 = named(CXomAccountingInformationChildEntry{}, L"P1", 0);
    p1.m_serverAuthSalt = TestSalt(0x41, 64);
    CXomAccountingInformationChildEntry p2 = named(CXomAccountingInformationChildEntry{}, L"P2", 0);
    p2.m_serverAuthSalt = TestSalt(0x51, 64);
    d.m_accountingChildren1 = {p1};
    d.m_accountingChildren2 = {p2};
    return d;
}

std::string Ticket(const DriverSettings& s, const CXomPrinterData& d, std::uint32_t model = 3) {
    JobTicketInputs in;
    in.settings = &s;
    in.printerData = &d;
    in.colorModel = model;
    in.localTime = TicketTime();
    std::string text;
    EXPECT_TRUE(WriteJobTicket(in, text));
    return text;
}

// Parsed by libxml2's xmllint, which knows nothing of our writer.
bool WellFormed(const std::string& xml, std::string& complaint) {
    char name[] = "/tmp/xom_ticketXXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return false;
    const bool written = write(fd, xml.data(), xml.size()) == static_cast<ssize_t>(xml.size());
    close(fd);
    const std::string command = std::string("xmllint --noout ") + name + " 2>&1";
    complaint.clear();
    int status = -1;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, p)) complaint += buf;
        status = pclose(p);
    }
    std::remove(name);
    return written && status == 0;
}

// What the element holds: the text between "<tag>" and "</tag>" (first occurrence).
std::string Element(const std::string& xml, const std::string& tag) {
    const std::size_t start = xml.find("<" + tag + ">");
    const std::size_t end = xml.find("</" + tag + ">");
    if (start == std::string::npos || end == std::string::npos) return "<absent>";
    return xml.substr(start + tag.size() + 2, end - start - tag.size() - 2);
}

TEST(WriteJobTicket, TheDefaultTicketByteForByte) {
    const DriverSettings s;
    const CXomPrinterData d;
    EXPECT_EQ(Ticket(s, d),
              "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
              "<PrintJob xmlns=\"http://schemas.xom-printers.example/JobTicket/\"\r\n"
              "  xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"\r\n"
              "  CreationDate=\"2026-01-31T23:59:58\"\r\n"
              "  Version=\"1.0\">\r\n"
              "  <JobSource>HDI</JobSource>\r\n"
              "  <SendJobTo>Print</SendJobTo>\r\n"
              "  <SecurePrint>\r\n"
              "    <Method>Off</Method>\r\n"
              "  </SecurePrint>\r\n"
              "  <ColorMode>Color</ColorMode>\r\n"
              "  <HpglPresetId>0</HpglPresetId>\r\n"
              "  <PsPresetId>0</PsPresetId>\r\n"
              "  <JobName>AutoCAD Drawing</JobName>\r\n"
              "  <AccountingSetting>\r\n"  // no children: consecutive lines
              "  </AccountingSetting>\r\n"
              "  <ImageSetting>\r\n"
              "    <Mirror>0</Mirror>\r\n"
              "    <Invert>0</Invert>\r\n"
              "    <RemoveWhiteBorderMethod>None</RemoveWhiteBorderMethod>\r\n"
              "    <AlignmentType>Default</AlignmentType>\r\n"
              "  </ImageSetting>\r\n"
              "  <PrintingSetting>\r\n"
              "    <PrintQualityPresetId>0</PrintQualityPresetId>\r\n"
              "    <TrappingSetting>\r\n"
              "      <BlackTrapping>0</BlackTrapping>\r\n"
              "      <ColorTrapping>0</ColorTrapping>\r\n"
              "    </TrappingSetting>\r\n"
              "    <MediaId>0</MediaId>\r\n"
              "    <MediaType>0</MediaType>\r\n"
              "    <NumberOfCopies>1</NumberOfCopies>\r\n"
              "    <Collate>0</Collate>\r\n"
              "    <ReversePageOrder>0</ReversePageOrder>\r\n"
              "    <PrintJobSeparatorSheet>0</PrintJobSeparatorSheet>\r\n"
              "    <PrintSetSeparatorSheet>0</PrintSetSeparatorSheet>\r\n"
              "    <PrintExit>Default</PrintExit>\r\n"
              "    <BannerSetting>\r\n"
              "      <TextSize>0</TextSize>\r\n"
              "      <TextPosition>None</TextPosition>\r\n"
              "    </BannerSetting>\r\n"
              "    <FoldingPresetId>0</FoldingPresetId>\r\n"
              "    <StampPresetId>0</StampPresetId>\r\n"
              "    <MediaFeed>Roll</MediaFeed>\r\n"
              "  </PrintingSetting>\r\n"
              "  <ColorSetting>\r\n"
              "    <Brightness>0</Brightness>\r\n"
              "    <ColorAdjustGreenRed>0</ColorAdjustGreenRed>\r\n"
              "    <ColorAdjustBlueYellow>0</ColorAdjustBlueYellow>\r\n"
              "  </ColorSetting>\r\n"
              "</PrintJob>\r\n");
}

TEST(WriteJobTicket, NoPrinterDataGivesNoTicket) {
    const DriverSettings s;
    JobTicketInputs in;
    in.settings = &s;
    std::string text = "old";
    EXPECT_FALSE(WriteJobTicket(in, text));
    EXPECT_EQ(text, "");
}

TEST(WriteJobTicket, ChoicesMapToTheirTicketWords) {
    DriverSettings s;
    const CXomPrinterData d = Printer();
    const struct {
        std::int32_t value;
        const char* exit;
        const char* borders;
        const char* alignment;
    } rows[] = {{0, "Default", "None", "Default"},     {1, "Top", "AllSides", "Left"},
                {2, "Rear", "TrailingEdge", "Center"}, {3, "Front", "None", "Right"},
                {4, "Below", "None", "Default"},       {-1, "Default", "None", "Default"}};
    for (const auto& r : rows) {
        s.PrintExit = s.RemoveBorders = s.AlignmentType = r.value;
        const std::string x = Ticket(s, d);
        EXPECT_EQ(Element(x, "PrintExit"), r.exit) << r.value;
        EXPECT_EQ(Element(x, "RemoveWhiteBorderMethod"), r.borders) << r.value;
        EXPECT_EQ(Element(x, "AlignmentType"), r.alignment) << r.value;
    }
    const std::pair<std::uint32_t, const char*> modes[] = {
        {0, "BlackWhite"}, {1, "BlackWhite"}, {2, "Color"},     {3, "Color"},
        {4, "Gray"},       {5, "Color"},      {6, "BlackWhite"}};
    for (const auto& [model, word] : modes)
        EXPECT_EQ(Element(Ticket(s, d, model), "ColorMode"), word) << model;
}

TEST(WriteJobTicket, IdsAreLookedUpByExactNameFirstMatchWins) {
    DriverSettings s;
    s.HpglPresetName = L"Lines";
    s.PrintQualityPresetName = L"Best";
    s.FolderPresetName = L"Z-Fold";
    s.StampName = L"Draft";
    s.MediaName = L"Bond 80";
    const CXomPrinterData d = Printer();
    std::string x = Ticket(s, d);
    EXPECT_EQ(Element(x, "HpglPresetId"), "3");
    EXPECT_EQ(Element(x, "PrintQualityPresetId"), "12");
    EXPECT_EQ(Element(x, "FoldingPresetId"), "-2");
    EXPECT_EQ(Element(x, "StampPresetId"), "7");
    EXPECT_EQ(Element(x, "MediaId"), "4294967296");
    EXPECT_EQ(Element(x, "MediaType"), "4000000000");
    s.MediaName = L"bond 80";
    s.StampName = L"draft";
    x = Ticket(s, d);
    EXPECT_EQ(Element(x, "MediaId"), "0");
    EXPECT_EQ(Element(x, "MediaType"), "0");
    EXPECT_EQ(Element(x, "StampPresetId"), "0");
}

TEST(WriteJobTicket, SecurePrintMethod) {
    DriverSettings s;
    CXomPrinterData d = Printer();
    s.JobPin = L"123";
    EXPECT_EQ(Element(Ticket(s, d), "Method"), "Off");
    s.JobPin = L"12345";
    EXPECT_EQ(Element(Ticket(s, d), "Method"), "Off");
    s.JobPin = L"1234";
    std::string x = Ticket(s, d);
    EXPECT_EQ(Element(x, "Method"), "Pin");
    EXPECT_EQ(Element(x, "JobPin"), "1234");
    // UserPrintSecurity with a user name wins over a typed PIN.
    s.UserName = L"jdoe";
    s.UserPrintSecurity = 1;
    x = Ticket(s, d);
    EXPECT_EQ(Element(x, "Method"), "User");
    EXPECT_EQ(Element(x, "JobPin"), "<absent>");
    // A printer demanding users, without the driver's own switch: the PIN still serves.
    s.UserPrintSecurity = 0;
    d.m_userAccounting.m_userAccess = 4;
    EXPECT_EQ(Element(Ticket(s, d), "Method"), "Pin");
}

TEST(WriteJobTicket, TheUserTokenIsWrittenWhenUserSecurityApplies) {
    DriverSettings s;
    CXomPrinterData d = Printer();
    s.UserName = L"jdoe";
    s.UserValidPassword = L"pw";
    const std::string token =
        MakeToken(L"pw", d.m_userAccounting.m_sessionSalt, d.m_users[0].m_serverAuthSalt);
    ASSERT_EQ(token.size(), 88u);
    EXPECT_NE(Ticket(s, d).find("    <User Name=\"jdoe\">\r\n    </User>\r\n"), std::string::npos);
    d.m_userAccounting.m_userAccess = 4;
    EXPECT_NE(Ticket(s, d).find("    <User Name=\"jdoe\">\r\n      <Token>" + token +
                                "</Token>\r\n    </User>\r\n"),
              std::string::npos);
    // An unlisted user, or a token salt of 63 bytes: the element without a token.
    d.m_users[0].m_serverAuthSalt.pop_back();
    EXPECT_NE(Ticket(s, d).find("    <User Name=\"jdoe\">\r\n    </User>\r\n"), std::string::npos);
}

TEST(WriteJobTicket, AccountingTokensForPasswordProtectedFields) {
    DriverSettings s;
    CXomPrinterData d = Printer();
    s.AcctInfo0Name = L"P1";
    s.AcctInfo0ValidPassword = L"one";
    s.AcctInfo1Name = L"P2";
    s.AcctInfo1ValidPassword = L"two";
    d.m_accountingInformation[1].m_access = 3;
    const std::string t0 = MakeToken(L"one", d.m_userAccounting.m_sessionSalt,
                                     d.m_accountingChildren1[0].m_serverAuthSalt);
    EXPECT_NE(Ticket(s, d).find("  <AccountingSetting>\r\n"
                                "    <InformationElement Name=\"P1\">\r\n"
                                "      <Token>" +
                                t0 +
                                "</Token>\r\n"
                                "      <TypeId>1</TypeId>\r\n"
                                "    </InformationElement>\r\n"
                                "    <InformationElement Name=\"P2\">\r\n"
                                "      <TypeId>2</TypeId>\r\n"
                                "    </InformationElement>\r\n"
                                "  </AccountingSetting>\r\n"),
              std::string::npos);
}

TEST(WriteJobTicket, NamesAreEscaped) {
    DriverSettings s;
    s.JobName = L"M\u00FCller & S\u00F6hne \U0001F600";
    s.UserName = L"a\"b";
    s.AcctInfo0Name = L"<x>";
    const std::string x = Ticket(s, Printer());
    EXPECT_EQ(Element(x, "JobName"), "M&#x00FC;ller &amp; S&#x00F6;hne &#x01F600;");
    EXPECT_NE(x.find("<User Name=\"a&quot;b\">"), std::string::npos);
    EXPECT_NE(x.find("<InformationElement Name=\"&lt;x&gt;\">"), std::string::npos);
}

// Mended: a PIN may come from a configuration or a command line, not only a digits-only edit.
TEST(WriteJobTicket, ThePinIsEscapedLikeOtherTexts) {
    DriverSettings s;
    s.JobPin = L"<&\x01'";
    std::string complaint;
    const std::string x = Ticket(s, Printer());
    EXPECT_EQ(Element(x, "JobPin"), "&lt;&amp;&#xFFFD;&apos;");
    EXPECT_TRUE(WellFormed(x, complaint)) << complaint;
}

// Mended: the ticket is never cut at a fixed size.
TEST(WriteJobTicket, ALongJobNameGivesACompleteTicket) {
    DriverSettings s;
    s.JobName = std::wstring(3000, L'\u00E9');  // 8 characters each when escaped
    s.UserName = std::wstring(2000, L'u');
    s.UserValidPassword = L"pw";
    s.UserPrintSecurity = 1;
    s.AcctInfo0Name = L"P1";
    s.AcctInfo1Name = L"P2";
    CXomPrinterData d = Printer();
    d.m_users[0].m_name = s.UserName;
    const std::string x = Ticket(s, d);
    EXPECT_GT(x.size(), 26000u);
    EXPECT_EQ(x.substr(x.size() - 13), "</PrintJob>\r\n");
    EXPECT_EQ(Element(x, "JobName").size(), 24000u);
    std::size_t tokens = 0;
    for (std::size_t p = 0; (p = x.find("<Token>", p)) != std::string::npos; ++p) ++tokens;
    EXPECT_EQ(tokens, 3u);
    std::string complaint;
    EXPECT_TRUE(WellFormed(x, complaint)) << complaint;
}

// Mended: a control character in a name no longer makes the whole ticket unreadable.
TEST(WriteJobTicket, UnreferableCharactersKeepTheTicketWellFormed) {
    DriverSettings s;
    s.JobName =
        L"a\x01"
        L"b\uFFFF";
    s.JobName += static_cast<wchar_t>(0xD800);
    s.UserName = L"\x1B[2J";
    std::string complaint;
    const std::string x = Ticket(s, Printer());
    EXPECT_EQ(Element(x, "JobName"), "a&#xFFFD;b&#xFFFD;&#xFFFD;");
    EXPECT_TRUE(WellFormed(x, complaint)) << complaint;
}

// A matrix of settings, each ticket checked against its golden file and parsed as XML.
TEST(WriteJobTicket, GoldenTicketsParseAsWellFormedXml) {
    struct Case {
        const char* name;
        void (*apply)(DriverSettings&, CXomPrinterData&);
    };
    const Case cases[] = {{"default", [](DriverSettings&, CXomPrinterData&) {}},
                          {"pin_presets_media",
                           [](DriverSettings& s, CXomPrinterData&) {
                               s.JobPin = L"0815";
                               s.HpglPresetName = L"Lines";
                               s.PrintQualityPresetName = L"Best";
                               s.FolderPresetName = L"Z-Fold";
                               s.StampName = L"Draft";
                               s.MediaName = L"Bond 80";
                               s.NumberOfCopies = 3;
                               s.BlackTrapping = 1;
                               s.ColorTrapping = 1;
                               s.Brightness = -60;
                               s.GreenRedShift = 10;
                               s.BlueYellowShift = 60;
                               s.PrintExit = 3;
                               s.RemoveBorders = 2;
                               s.AlignmentType = 2;
                           }},
                          {"user_and_accounting_tokens",
                           [](DriverSettings& s, CXomPrinterData& d) {
                               d.m_userAccounting.m_userAccess = 4;
                               s.UserName = L"jdoe";
                               s.UserValidPassword = L"p\u00E4ss";
                               s.AcctInfo0Name = L"P1";
                               s.AcctInfo0ValidPassword = L"one";
                               s.AcctInfo1Name = L"P2";
                               s.AcctInfo1ValidPassword = L"";
                               s.JobName = L"Site & \"plan\" <rev 2>";
                           }},
                          {"hostile_names", [](DriverSettings& s, CXomPrinterData&) {
                               s.JobName = L"tab\there\r\nnul";
                               s.JobName += L'\0';
                               s.JobName += L"\U0001F4D0";
                               s.UserName = L"\x7F\x80\x9F";
                               s.JobPin = L"]]>&";
                           }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriverSettings s;
        CXomPrinterData d = Printer();
        c.apply(s, d);
        const std::string x = Ticket(s, d);
        std::string complaint;
        EXPECT_TRUE(WellFormed(x, complaint)) << complaint;
        ExpectMatchesGoldenFile(x, std::string(XOM_TICKET_GOLDEN_DIR) + "/" + c.name + ".xml");
    }
}

}  // namespace
