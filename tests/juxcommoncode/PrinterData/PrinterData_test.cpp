#include "juxcommoncode/PrinterData/PrinterData.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>

#include "MibTestAgent.h"
#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "tests/support/LoopbackAdapter.h"

namespace {

using JuxNetwork::CSnmpManager;
using V = MibTestAgent;
using Objects = std::map<std::wstring, MibTestAgent::Value>;

const std::wstring kPrivate = L"1.3.6.1.4.1.40713.1.1.1.";

// One row: base + column + suffix for each column given.
void Row(Objects& mib, const std::wstring& base, const std::wstring& suffix,
         const std::vector<std::pair<std::wstring, MibTestAgent::Value>>& columns) {
    for (const auto& [column, value] : columns) {
        std::wstring name = base;
        name.append(column).append(suffix);
        mib[name] = value;
    }
}

void BaseRow(Objects& mib, const std::wstring& table, std::uint32_t row, std::int32_t id,
             const std::string& name) {
    Row(mib, kPrivate + table, L"." + std::to_wstring(row),
        {{L".1", V::Unsigned(row)}, {L".2", V::Integer(id)}, {L".3", V::Text(name)}});
}

// A printer with a little of everything; stamps are rows 1, 2 and 4 (row 3 missing).
Objects Printer() {
    Objects mib;
    mib[L"1.3.6.1.2.1.1.1.0"] = V::Text("XOM Q Series Q1");
    mib[L"1.3.6.1.2.1.1.5.0"] = V::Text("q1-plotroom");
    mib[L"1.3.6.1.2.1.43.10.2.1.6.1.1"] = V::Integer(4);
    mib[L"1.3.6.1.2.1.2.2.1.6.1"] = V::Octets({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01});
    mib[kPrivate + L"3.2.5.0"] = V::Integer(1);
    mib[kPrivate + L"3.2.6.0"] = V::Integer(0);
    BaseRow(mib, L"1.1.1", 1, 10, "Draft");
    BaseRow(mib, L"1.1.1", 2, 11, "Approved");
    BaseRow(mib, L"1.1.1", 4, 13, "Never read");
    Row(mib, kPrivate + L"2.1.1", L".1",
        {{L".1", V::Unsigned(1)},
         {L".2", V::Octets({0, 0, 0, 0, 1, 0, 0, 0})},
         {L".3", V::Text("Bond 80g")},
         {L".4", V::Unsigned(2)}});
    Row(mib, L"1.3.6.1.2.1.43.8.2.1", L".1",
        {{L".1.1", V::Integer(1)},
         {L".2.1", V::Integer(4)},
         {L".3.1", V::Integer(4)},
         {L".5.1", V::Integer(914400)},
         {L".9.1", V::Integer(50)},
         {L".10.1", V::Integer(40)},
         {L".11.1", V::Integer(0)},
         {L".12.1", V::Text("Bond 80g")},
         {L".13.1", V::Text("Roll 1")}});
    mib[kPrivate + L"3.1.0"] = V::Octets(std::vector<std::uint8_t>(64, 0x5A));
    mib[kPrivate + L"3.2.1.0"] = V::Integer(4);
    mib[kPrivate + L"3.2.2.0"] = V::Text("User");
    mib[kPrivate + L"3.2.3.0"] = V::Text("");
    Row(mib, kPrivate + L"3.2.4.1", L".1",
        {{L".1", V::Unsigned(1)},
         {L".2", V::Text("alice")},
         {L".3", V::Octets(std::vector<std::uint8_t>(64, 1))},
         {L".4", V::Octets(std::vector<std::uint8_t>(64, 2))},
         {L".5", V::Octets(std::vector<std::uint8_t>(64, 3))},
         {L".6", V::Integer(1)},
         {L".7", V::Integer(0)}});
    for (std::uint32_t field : {1u, 2u}) {
        Row(mib, kPrivate + L"3.3.1", L"." + std::to_wstring(field),
            {{L".1", V::Unsigned(field)},
             {L".2", V::Integer(field == 1 ? 4 : 2)},
             {L".3", V::Text(field == 1 ? "Project" : "Cost centre")},
             {L".4", V::Text("")},
             {L".5", V::Integer(0)}});
    }
    for (std::uint32_t row : {1u, 2u}) {
        Row(mib, kPrivate + L"3.4.1", L".1." + std::to_wstring(row),
            {{L".1", V::Unsigned(row)},
             {L".2", V::Text("P-100" + std::to_string(row))},
             {L".3", V::Octets({})},
             {L".4", V::Octets({})},
             {L".5", V::Octets({})}});
    }
    BaseRow(mib, L"5.1.1", 1, 20, "Best");
    BaseRow(mib, L"6.1.1", 1, 30, "Fold A0");
    BaseRow(mib, L"9.1.1", 1, 40, "Pens 1");
    Row(mib, kPrivate + L"11.1.1", L".1", {{L".1", V::Unsigned(1)}, {L".2", V::Integer(2)}});
    return mib;
}

class PrinterDataTest : public testing::Test {
  protected:
    void Connect(MibTestAgent& agent, int tries = 10,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(500)) {
        JuxNetwork::NetIpIoManagerOptions options;
        options.adapterSource = std::make_shared<xomtest::LoopbackAdapterSource>();
        options.processorCount = 2;
        JuxNetwork::SnmpManagerOptions snmp;
        snmp.agentPort = agent.Port();
        snmp.tries = tries;
        snmp.responseTimeout = timeout;
        manager = std::make_unique<CSnmpManager>(options, snmp);
        ASSERT_TRUE(manager->Start());
        JuxNetwork::JUX_IP_ADDRESS address;
        address.Set(L"127.0.0.1");
        context = manager->OpenAgentSocket(address);
        ASSERT_NE(context, nullptr);
    }
    void TearDown() override {
        if (manager) manager->Stop();
    }
    std::unique_ptr<CSnmpManager> manager;
    JuxNetwork::CSocketContext* context = nullptr;
};

TEST_F(PrinterDataTest, ReadsEveryTableInOrderUpToItsFirstMissingRow) {
    MibTestAgent agent(Printer());
    Connect(agent);
    CXomPrinterData data;
    ASSERT_EQ(data.ReadFromPrinter(*manager, *context), 0);

    EXPECT_EQ(data.m_sysDescription, L"XOM Q Series Q1");
    EXPECT_EQ(data.m_sysName, L"q1-plotroom");
    EXPECT_EQ(data.m_processColorants, 4);
    EXPECT_EQ(data.m_physicalAddress, (OctetArray{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01}));
    EXPECT_TRUE(data.m_roleBasedAccessControl);
    EXPECT_EQ(data.m_anonymousMonoAllowed, 1);
    EXPECT_EQ(data.m_anonymousColorAllowed, 0);
    ASSERT_EQ(data.m_stamps.size(), 2u) << "row 3 is missing: the table ends at row 2";
    EXPECT_EQ(data.m_stamps[1].m_name, L"Approved");
    ASSERT_EQ(data.m_media.size(), 1u);
    EXPECT_EQ(data.m_media[0].m_id64, 4294967296u);
    ASSERT_EQ(data.m_inputTrays.size(), 1u);
    EXPECT_EQ(data.m_inputTrays[0].m_name, L"Roll 1");
    EXPECT_EQ(data.m_userAccounting.m_sessionSalt.size(), 64u);
    EXPECT_EQ(data.m_userAccounting.m_userAccess, 4);
    ASSERT_EQ(data.m_users.size(), 1u);
    EXPECT_EQ(data.m_users[0].m_colorAllowed, 0);
    ASSERT_EQ(data.m_accountingInformation.size(), 2u);
    EXPECT_EQ(data.m_accountingInformation[1].m_prompt, L"Cost centre");
    ASSERT_EQ(data.m_accountingChildren1.size(), 2u);
    EXPECT_EQ(data.m_accountingChildren1[1].m_name, L"P-1002");
    EXPECT_TRUE(data.m_accountingChildren2.empty()) << "a table whose row 1 is missing is empty";
    EXPECT_EQ(data.m_printQualityPresets.size(), 1u);
    EXPECT_EQ(data.m_folderPresets.size(), 1u);
    EXPECT_EQ(data.m_hpglPresets.at(0).m_id, 40);
    ASSERT_EQ(data.m_exitTrayLocations.size(), 1u);
    EXPECT_EQ(data.m_exitTrayLocations[0].m_value, 2);

    // In this order: the printer's values, stamps, media, trays, the user data, users,
    // accounting fields, children of fields 1 and 2, quality, folder and HP-GL presets, exit
    // trays; a table of n rows costs n + 1 requests (the last finds its end).
    std::vector<std::wstring> expected = {L"1.3.6.1.2.1.1.1.0"};
    auto table = [&](const std::wstring& firstColumn, int rows) {
        for (int n = 1; n <= rows + 1; ++n) expected.push_back(firstColumn + std::to_wstring(n));
    };
    table(kPrivate + L"1.1.1.1.", 2);
    table(kPrivate + L"2.1.1.1.", 1);
    table(L"1.3.6.1.2.1.43.8.2.1.1.1.", 1);
    expected.push_back(kPrivate + L"3.1.0");
    table(kPrivate + L"3.2.4.1.1.", 1);
    table(kPrivate + L"3.3.1.1.", 2);
    table(kPrivate + L"3.4.1.1.1.", 2);
    table(kPrivate + L"3.4.1.1.2.", 0);
    table(kPrivate + L"5.1.1.1.", 1);
    table(kPrivate + L"6.1.1.1.", 1);
    table(kPrivate + L"9.1.1.1.", 1);
    table(kPrivate + L"11.1.1.1.", 1);
    std::vector<std::wstring> asked;
    for (const auto& r : agent.Requests()) {
        asked.push_back(r.names.empty() ? L"(none)" : r.names.front());
        EXPECT_EQ(r.community, L"tamsel");
    }
    EXPECT_EQ(asked, expected);
}

TEST_F(PrinterDataTest, APrinterThatStopsAnsweringFailsTheWholeRead) {
    MibTestAgent agent(Printer());
    agent.AnswerOnly(1);  // the printer's values, then silence during the stamps
    Connect(agent, 2, std::chrono::milliseconds(50));
    CXomPrinterData data;
    EXPECT_EQ(data.ReadFromPrinter(*manager, *context), JuxNetwork::kE_FAIL);
    EXPECT_EQ(data.m_sysName, L"q1-plotroom");
    EXPECT_EQ(agent.RequestCount(), 3u) << "one answered request, then two tries of the stamps";
}

TEST_F(PrinterDataTest, MissingPrinterValuesOrUserDataFailTheRead) {
    for (const std::wstring& missing :
         {std::wstring(L"1.3.6.1.2.1.1.5.0"), std::wstring(L"1.3.6.1.2.1.43.10.2.1.6.1.1"),
          kPrivate + L"3.2.1.0", kPrivate + L"3.1.0"}) {
        Objects mib = Printer();
        mib.erase(missing);
        MibTestAgent agent(mib);
        Connect(agent);
        CXomPrinterData data;
        EXPECT_EQ(data.ReadFromPrinter(*manager, *context), JuxNetwork::kE_FAIL) << missing;
        manager->Stop();
    }
}

TEST_F(PrinterDataTest, WithoutTheAnonymousColourRightThereIsNoAccessControl) {
    Objects mib = Printer();
    mib[kPrivate + L"3.2.6.0"] = V::Null();
    mib.erase(L"1.3.6.1.2.1.2.2.1.6.1");
    MibTestAgent agent(mib);
    Connect(agent);
    CXomPrinterData data;
    ASSERT_EQ(data.ReadFromPrinter(*manager, *context), 0);
    EXPECT_FALSE(data.m_roleBasedAccessControl);
    EXPECT_TRUE(data.m_physicalAddress.empty());
    std::wstring text;
    data.AppendText(text);
    EXPECT_EQ(text,
              L"\n   ProcessColorants: 4\n   Agent Info:\n      SysDes: XOM Q Series Q1"
              L"\n      SysName: q1-plotroom\n      ifPhysAddress: "
              L"\n   Role Based Access Control: no");
}

TEST_F(PrinterDataTest, AContextWithoutAnAddressReadsNothing) {
    MibTestAgent agent(Printer());
    Connect(agent);
    context->m_remoteAddress = JuxNetwork::JUX_IP_ADDRESS{};
    CXomPrinterData data;
    EXPECT_EQ(data.ReadFromPrinter(*manager, *context), JuxNetwork::kE_FAIL);
    EXPECT_EQ(agent.RequestCount(), 0u);
}

TEST(PrinterDataText, ShowsEveryTableWithItsRowCount) {
    CXomPrinterData data;
    data.m_processColorants = 4;
    data.m_stamps.resize(2);
    data.m_stamps[1].m_name = L"Approved";
    const std::wstring text = PrinterDataText(data);
    EXPECT_EQ(text.rfind(L"XomPrinterData:\n   ProcessColorants: 4", 0), 0u) << text;
    EXPECT_NE(text.find(L"\n\nXomStamps (2 rows):\n   Index:0,  Id:0,  Name:\n   Index:0,  Id:0,  "
                        L"Name:Approved"),
              std::wstring::npos);
    for (const wchar_t* table :
         {L"XomUserAccountingData:", L"XomMedia (0 rows)", L"XomCurrentMediaStatus (prtInput)",
          L"XomUsers", L"XomAccountingInformation (0",
          L"XomAccountingInformationChildren of field 1 (0 rows)",
          L"XomAccountingInformationChildren of field 2 (0 rows)", L"XomPrintQualityPresets",
          L"XomFolderPresets", L"XomHpglPresets", L"XomExitTrayLocations  [Name localized by HDI]"})
        EXPECT_NE(text.find(table), std::wstring::npos) << table;
}

}  // namespace
