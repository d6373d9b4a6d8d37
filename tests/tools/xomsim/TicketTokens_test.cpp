#include "tools/xomsim/TicketTokens.h"

#include <gtest/gtest.h>

#include "tools/xomsim/PrinterDescription.h"

namespace xomsim {
namespace {

PrinterModel Printer() {
    PrinterDescription printer;
    std::string error;
    EXPECT_TRUE(ParsePrinterDescription(
        "description XOM\nname q\nmac 00-11-22-33-44-55\n"
        "user-accounting access=4 prompt=User\n"
        "user name=alice password=pw\nuser name=\"M\xC3\xBCller & S\xC3\xB6hne\" password=x\n"
        "accounting-field access=4 prompt=Project type-id=1\n"
        "accounting-field access=3 prompt=Cost type-id=2\n"
        "accounting-value field=1 name=P-1001 password=alpha\n"
        "accounting-value field=2 name=CC-1\n",
        "t", printer, error))
        << error;
    return printer.model;
}

// A ticket in the driver's layout, with the job data that follows it.
std::string Job(const std::string& accounting) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<PrintJob xmlns=\"x\"\r\n"
           "  Version=\"1.0\">\r\n  <JobSource>HDI</JobSource>\r\n  <AccountingSetting>\r\n" +
           accounting +
           "  </AccountingSetting>\r\n</PrintJob>\r\n\x1b%-12345X@PJL ENTER LANGUAGE = HPGL2\r\n"
           "<User Name=\"late\">\r\n";
}

std::string User(const std::string& name, const std::string& token) {
    return "    <User Name=\"" + name + "\">\r\n" +
           (token.empty() ? "" : "      <Token>" + token + "</Token>\r\n") + "    </User>\r\n";
}

std::string Value(const std::string& name, const std::string& token, int typeId) {
    return "    <InformationElement Name=\"" + name + "\">\r\n" +
           (token.empty() ? "" : "      <Token>" + token + "</Token>\r\n") + "      <TypeId>" +
           std::to_string(typeId) + "</TypeId>\r\n    </InformationElement>\r\n";
}

std::string Check(const PrinterModel& printer, const std::string& job) {
    return CheckTicketTokens(printer, ReadTicketCredentials(job));
}

TEST(TicketTokens, EachCredentialIsValidInvalidWithoutTokenOrUnknown) {
    const PrinterModel printer = Printer();
    const std::string alice = printer.users[0].token;
    const std::string project = printer.accountingFields[0].values[0].token;
    ASSERT_EQ(alice.size(), 88u);
    EXPECT_EQ(Check(printer, Job(User("alice", alice) + Value("P-1001", project, 1))),
              "user alice valid, AccountingInfo 1 P-1001 valid");
    // A token made with another password, or the user's token under another name.
    EXPECT_EQ(Check(printer, Job(User("alice", project) + Value("P-1001", alice, 1))),
              "user alice invalid, AccountingInfo 1 P-1001 invalid");
    EXPECT_EQ(
        Check(printer, Job(User("mallory", alice) + Value("P-9", "", 1) + Value("CC-1", "", 2))),
        "user mallory unknown, AccountingInfo 1 P-9 unknown, AccountingInfo 2 CC-1 no token");
    // Names compare exactly; a value is looked up in its own field only.
    EXPECT_EQ(Check(printer, Job(User("Alice", alice) + Value("P-1001", project, 2))),
              "user Alice unknown, AccountingInfo 2 P-1001 unknown");
    EXPECT_EQ(Check(printer, Job(User("alice", ""))), "user alice no token");
    EXPECT_EQ(Check(printer, Job("")), "none");
}

TEST(TicketTokens, EscapedNamesAreResolvedBeforeTheLookUp) {
    const PrinterModel printer = Printer();
    const std::string token = printer.users[1].token;
    EXPECT_EQ(Check(printer, Job(User("M&#x00FC;ller &amp; S&#x00F6;hne", token))),
              "user M\xC3\xBCller & S\xC3\xB6hne valid");
    // A control character in a name stays visible and keeps the line whole.
    EXPECT_EQ(Check(printer, Job(User("a&#x000A;b", token))), "user a\\x0Ab unknown");
}

TEST(TicketTokens, NoTicketOrAnUnfinishedOneNamesNobody) {
    const PrinterModel printer = Printer();
    EXPECT_TRUE(ReadTicketCredentials("\x1b%-12345X@PJL\r\n<User Name=\"alice\">").empty());
    EXPECT_TRUE(ReadTicketCredentials("<?xml version=\"1.0\" ?><User Name=\"alice\">").empty());
    EXPECT_TRUE(ReadTicketCredentials("").empty());
    // Elements after the ticket's end are job data, not credentials.
    const auto found = ReadTicketCredentials(Job(User("alice", "t")));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "alice");
    EXPECT_TRUE(found[0].hasToken);
    EXPECT_EQ(found[0].token, "t");
}

}  // namespace
}  // namespace xomsim
