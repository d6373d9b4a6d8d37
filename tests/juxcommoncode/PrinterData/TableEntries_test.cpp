#include "juxcommoncode/PrinterData/TableEntries.h"

#include <gtest/gtest.h>

#include "juxcommoncode/PrinterData/UserEntries.h"
#include "juxcommoncode/Snmp/BerTags.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

namespace {

using JuxNetwork::CSnmpMessage;

// A response whose varbinds carry the given values in order (the names do not matter: rows are
// read by position).
struct Response {
    CSnmpMessage message;
    Response& Unsigned(std::uint32_t v) {
        message.AddVarbind(L"1.3.6.1.9")->Value().SetUnsigned32(JuxNetwork::kBerTagUInteger32, v);
        return *this;
    }
    Response& Integer(std::int32_t v) {
        message.AddVarbind(L"1.3.6.1.9")->Value().SetInteger32(v);
        return *this;
    }
    Response& Text(const std::wstring& v) {
        message.AddVarbind(L"1.3.6.1.9")->Value().SetOctetStringText(v);
        return *this;
    }
    Response& Octets(std::vector<std::uint8_t> v) {
        message.AddVarbind(L"1.3.6.1.9")->Value().SetOctetString(std::move(v));
        return *this;
    }
    Response& Null() {
        message.AddVarbind(L"1.3.6.1.9");
        return *this;
    }
};

TEST(TableEntries, RowRequestsNameEachColumnWithTheRowSuffix) {
    CSnmpMessage request;
    CXomStampEntry().AddRowRequest(request, L".7");
    ASSERT_EQ(request.Varbinds().GetCount(), 3u);
    EXPECT_EQ(request.Varbinds().GetAt(0).Name().ToText(), L"1.3.6.1.4.1.40713.1.1.1.1.1.1.1.7");
    EXPECT_EQ(request.Varbinds().GetAt(2).Name().ToText(), L"1.3.6.1.4.1.40713.1.1.1.1.1.1.3.7");

    CSnmpMessage trays;
    CXomPrtInputEntry().AddRowRequest(trays, L".2");
    ASSERT_EQ(trays.Varbinds().GetCount(), 9u);
    EXPECT_EQ(trays.Varbinds().GetAt(0).Name().ToText(), L"1.3.6.1.2.1.43.8.2.1.1.1.2");
    EXPECT_EQ(trays.Varbinds().GetAt(3).Name().ToText(), L"1.3.6.1.2.1.43.8.2.1.5.1.2");
    EXPECT_EQ(trays.Varbinds().GetAt(8).Name().ToText(), L"1.3.6.1.2.1.43.8.2.1.13.1.2");

    CSnmpMessage children;
    CXomAccountingInformationChildEntry().AddRowRequest(children, L".2.5");
    ASSERT_EQ(children.Varbinds().GetCount(), 5u);
    EXPECT_EQ(children.Varbinds().GetAt(4).Name().ToText(), L"1.3.6.1.4.1.40713.1.1.1.3.4.1.5.2.5");

    CSnmpMessage users;
    CXomUserEntry().AddRowRequest(users, L".1");
    EXPECT_EQ(users.Varbinds().GetCount(), 7u);
}

TEST(TableEntries, BaseRowNeedsEachColumnOfItsType) {
    CXomPrintQualityPresetEntry row;
    Response r;
    r.Unsigned(3).Integer(-12).Text(L"Fine lines");
    ASSERT_TRUE(row.ParseRow(r.message));
    std::wstring text;
    row.AppendText(text);
    EXPECT_EQ(text, L"\n   Index:3,  Id:-12,  Name:Fine lines");

    Response asInteger;  // an index sent as a plain Integer is not the printer's table
    asInteger.Integer(3).Integer(1).Text(L"x");
    EXPECT_FALSE(CXomStampEntry().ParseRow(asInteger.message));
    Response unknown;  // what a version 1 agent answers for a row it does not have
    unknown.Null().Null().Null();
    EXPECT_FALSE(CXomStampEntry().ParseRow(unknown.message));
    Response shortRow;
    shortRow.Unsigned(1).Integer(1);
    EXPECT_FALSE(CXomStampEntry().ParseRow(shortRow.message));
}

TEST(TableEntries, MediaIdIsLittleEndianAndTheBaseIdItsLowHalf) {
    CXomMediaEntry one;
    Response r1;
    r1.Unsigned(1).Octets({1, 0, 0, 0, 0, 0, 0, 0}).Text(L"Bond 80g").Unsigned(7);
    ASSERT_TRUE(one.ParseRow(r1.message));
    EXPECT_EQ(one.m_id64, 1u);
    EXPECT_EQ(one.m_id, 1);

    CXomMediaEntry high;
    Response r2;
    r2.Unsigned(2).Octets({0, 0, 0, 0, 1, 0, 0, 0}).Text(L"Film").Unsigned(4000000000u);
    ASSERT_TRUE(high.ParseRow(r2.message));
    EXPECT_EQ(high.m_id64, 4294967296u);
    EXPECT_EQ(high.m_id, 0);
    std::wstring text;
    high.AppendText(text);
    EXPECT_EQ(text, L"\n   Index:2, Id64Bit:4294967296, Name:Film, Type:4000000000");
}

TEST(TableEntries, TrayWidthsInInchesOrMillimetres) {
    EXPECT_EQ(TrayWidthText(3, 360000), L"36 inches");
    EXPECT_EQ(TrayWidthText(3, 85000), L"8.5 inches");
    EXPECT_EQ(TrayWidthText(4, 914400), L"36 inches");
    EXPECT_EQ(TrayWidthText(4, 420000), L"420 mm");
    EXPECT_EQ(TrayWidthText(4, 841000), L"841 mm");
    EXPECT_EQ(TrayWidthText(3, 0), L"");
    EXPECT_EQ(TrayWidthText(2, 360000), L"") << "other units have no words";

    CXomPrtInputEntry tray;
    Response r;
    r.Integer(2).Integer(4).Integer(3).Integer(360000).Integer(50).Integer(-3).Integer(0);
    r.Text(L"Bond 80g").Text(L"Roll 2");
    ASSERT_TRUE(tray.ParseRow(r.message));
    EXPECT_EQ(tray.m_index, 0u) << "the input index is kept in the id";
    std::wstring text;
    tray.AppendText(text);
    EXPECT_EQ(text,
              L"\n   Index(Id):2,  Name:Roll 2, MediaName:Bond 80g, MaxCapacity:50  "
              L"CurrentLevel:-3  Status:0Type:4  Units:3  CrossFeedDimension:360000  36 inches");
}

TEST(TableEntries, UserRightsAreOptionalAndStayAllowed) {
    CXomUserEntry user;
    Response r;
    r.Unsigned(1).Text(L"alice").Octets({1, 2}).Octets({3}).Octets({});
    ASSERT_TRUE(user.ParseRow(r.message));
    EXPECT_EQ(user.m_monoAllowed, 1);
    EXPECT_EQ(user.m_colorAllowed, 1);
    EXPECT_EQ(user.m_clientAuthToken, (OctetArray{1, 2}));

    CXomUserEntry mono;
    Response m;
    m.Unsigned(2).Text(L"bob").Octets({}).Octets({}).Octets({}).Integer(1).Integer(0);
    ASSERT_TRUE(mono.ParseRow(m.message));
    EXPECT_EQ(mono.m_colorAllowed, 0);
    std::wstring text;
    mono.AppendText(text);
    EXPECT_EQ(text,
              L"\n  Index:2,  Name:bob, \n       ClientAuthToken: 0 bytes: "
              L"\n       ClientAuthSalt: 0 bytes: \n       ServerAuthSalt: 0 bytes: "
              L"\n       Allowed: Mono: 1, Color: 0");

    Response noSalt;
    noSalt.Unsigned(3).Text(L"carol").Octets({}).Null().Octets({});
    EXPECT_FALSE(CXomUserEntry().ParseRow(noSalt.message));
}

TEST(TableEntries, AccountingRowsAndExitTraysShowTheirFields) {
    CXomAccountingInformationEntry field;
    Response r;
    r.Unsigned(1).Integer(4).Text(L"Project").Text(L"P-1000").Integer(9);
    ASSERT_TRUE(field.ParseRow(r.message));
    std::wstring text;
    field.AppendText(text);
    EXPECT_EQ(text, L"\n   Index: 1,  Prompt: Project,  Default :P-1000,   TypeId: 9,   Access: 4");

    CXomExitTrayLocationEntry tray;
    Response t;
    t.Unsigned(2).Integer(3);
    ASSERT_TRUE(tray.ParseRow(t.message));
    tray.m_name = L"Rear";
    text.clear();
    tray.AppendText(text);
    EXPECT_EQ(text, L"\n   Index:2,  Value:3,  [Name:Rear]");
}

TEST(TableEntries, UserAccountingDataStopsAtTheFirstBadValue) {
    CXomUserAccountingData data;
    Response r;
    r.Octets({}).Integer(4).Text(L"User").Text(L"guest");
    ASSERT_TRUE(data.ParseResponse(r.message));
    EXPECT_TRUE(data.m_sessionSalt.empty());
    EXPECT_EQ(data.m_userAccess, 4);
    std::wstring text;
    data.AppendText(text);
    EXPECT_EQ(text,
              L"\n   SessionSalt: 0 bytes: \n   UserAccess: 4\n   UserNamePrompt: User"
              L"\n   UserNameDefault: guest");

    CXomUserAccountingData partial;
    Response bad;
    bad.Octets({5}).Integer(2).Null().Text(L"x");
    EXPECT_FALSE(partial.ParseResponse(bad.message));
    EXPECT_EQ(partial.m_userAccess, 2) << "what came before the bad value is kept";
}

}  // namespace
