// The printer connect dialog with agents already known to the SNMP manager: what the tree shows,
// the community box, the address entry, and what OK writes into the selected printer record.
#include "Common/XomDialogs/DlgPrinterConnect.h"

#include <gtest/gtest.h>

#include <memory>

#include "Common/XomDialogs/DlgEnter.h"
#include "DialogScript.h"
#include "juxcommoncode/JuxNetwork/AdapterSource.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

namespace {

using JuxNetwork::JUX_IP_ADDRESS;
using xomplatform::DialogWindow;
using D = CDlgSnmpAgentConnect;
using Texts = std::vector<std::wstring>;

// A manager that is never started: its agents are put in as discovery answers.
class KnownAgents : public JuxNetwork::CSnmpManager {
  public:
    explicit KnownAgents(JuxNetwork::NetIpIoManagerOptions options = {})
        : CSnmpManager(std::move(options)) {}
    void Answer(const wchar_t* address, const wchar_t* description, const wchar_t* name,
                const wchar_t* community, const OctetArray& mac = {}) {
        JuxNetwork::CSnmpMessage message;
        message.SetCommunity(community);
        message.AddVarbind(L"1.3.6.1.2.1.1.1.0")->Value().SetOctetStringText(description);
        message.AddVarbind(L"1.3.6.1.2.1.1.5.0")->Value().SetOctetStringText(name);
        message.AddVarbind(L"1.3.6.1.2.1.1.6.0")->Value().SetOctetStringText(L"Room 2");
        const JUX_IP_ADDRESS sender = Address(address);
        ProcessDiscoveryResponse(message, sender);
        if (!mac.empty()) SetAgentPhysicalAddress(sender, mac);
    }
    static JUX_IP_ADDRESS Address(const wchar_t* text) {
        JUX_IP_ADDRESS address;
        EXPECT_TRUE(address.Set(text)) << testing::PrintToString(std::wstring(text));
        return address;
    }
};

const OctetArray kMac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x0E};

class ConnectDialogTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        agents.Answer(L"10.0.0.5", L"XOM Q Series Q1", L"q1-plotroom", L"tamsel", kMac);
        agents.Answer(L"fe80::12", L"a xom q2 in lower case", L"", L"");
        agents.Answer(L"10.0.0.7", L"Laser 5 office printer", L"laser", L"public");
    }

    KnownAgents agents;
    CXomMachine selected;
    std::vector<CSnmpAgent> recent;
};

// The generic dialog with captions as a translation might give them.
class OddCaptionsDialog : public D {
  public:
    using D::D;
    void Prepare() {
        m_captions.addressLabel = L"  IP-Adresse\xFF1A ";
        m_captions.macLabel = L"MAC:";
    }
};

TEST(TypedPrinterAddress, TakesBareIpv4AndIpv6AddressesOnly) {
    JUX_IP_ADDRESS address;
    for (const wchar_t* good : {L"10.1.2.3", L" 10.1.2.3 ", L"2001:db8::1", L"fe80::1%3"})
        EXPECT_TRUE(ParseTypedAddress(good, address)) << testing::PrintToString(good);
    EXPECT_EQ(AddressEntryText(address), L"fe80::1%3") << "the scope stays";
    for (const wchar_t* bad : {L"", L"0.0.0.0", L"::", L"1.2.3.4:9100", L"[fe80::1]:161",
                               L"10.0.0.0/8", L"printer.local", L"1.2.3", L"10.0.0.300"}) {
        EXPECT_FALSE(ParseTypedAddress(bad, address)) << testing::PrintToString(bad);
        EXPECT_TRUE(address.IsUnspecified());
    }
    JUX_IP_ADDRESS withPort = KnownAgents::Address(L"10.0.0.9:161");
    EXPECT_EQ(AddressEntryText(withPort), L"10.0.0.9");
}

TEST_F(ConnectDialogTest, ListsOnlyTheMakersPrintersWithTheirDetails) {
    selected.m_address = KnownAgents::Address(L"10.0.0.5");
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(TreeTexts(w, D::kTree), (Texts{L"q1-plotroom", L"fe80::12", L"None"}));
        const int q1 = FindTreeEntry(w, D::kTree, L"q1-plotroom");
        EXPECT_EQ(TreeTexts(w, D::kTree, q1), (Texts{L"IP Address: 10.0.0.5", L"q1-plotroom",
                                                     L"MAC Address: 00-1A-2B-3C-4D-0E"}));
        EXPECT_EQ(TreeTexts(w, D::kTree, FindTreeEntry(w, D::kTree, L"fe80::12")),
                  (Texts{L"IP Address: fe80::12", L"SNMP Community: (null)"}));
        EXPECT_EQ(w.GetTreeSelection(D::kTree), q1);
        EXPECT_TRUE(w.IsTreeItemExpanded(D::kTree, q1));
        EXPECT_EQ(w.GetText(D::kAddress), L"10.0.0.5");
        EXPECT_FALSE(w.IsShown(D::kFilter));
        EXPECT_FALSE(w.IsShown(D::kShowRecent));
        EXPECT_EQ(w.GetText(D::kStatus), L"Select printer or enter IP Address");
        w.Click(IDCANCEL);
    });
    CXomDlgSnmpAgentConnect dialog(&agents, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, (std::vector<unsigned>{D::kTemplate}));
}

TEST_F(ConnectDialogTest, TheGenericDialogListsEveryAgentWithNormalisedLabels) {
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(TreeTexts(w, D::kTree), (Texts{L"q1-plotroom", L"fe80::12", L"laser", L"None"}));
        EXPECT_EQ(TreeTexts(w, D::kTree, FindTreeEntry(w, D::kTree, L"laser")),
                  (Texts{L"IP-Adresse: 10.0.0.7", L"laser", L"SNMP Community: public"}));
        EXPECT_EQ(TreeTexts(w, D::kTree, FindTreeEntry(w, D::kTree, L"q1-plotroom")).back(),
                  L"MAC: 00-1A-2B-3C-4D-0E");
        // Nothing selected before: "None" is.
        EXPECT_EQ(w.GetTreeItemText(D::kTree, w.GetTreeSelection(D::kTree)), L"None");
        EXPECT_TRUE(w.IsShown(D::kFilter));
        EXPECT_EQ(w.GetText(D::kFilter), L"Filter: None");
        w.Click(IDCANCEL);
    });
    OddCaptionsDialog dialog(&agents, selected, recent);
    dialog.Prepare();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(ConnectDialogTest, PrintersNobodyAnswersForAreMarkedNotConnected) {
    selected.m_address = KnownAgents::Address(L"10.0.0.9");
    selected.m_sysName = L"plotter-9";
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(TreeTexts(w, D::kTree),
                  (Texts{L"q1-plotroom", L"fe80::12", L"plotter-9  [Not Connected]", L"None"}));
        EXPECT_EQ(w.GetTreeItemText(D::kTree, w.GetTreeSelection(D::kTree)),
                  L"plotter-9  [Not Connected]");
        w.TypeText(D::kAddress, L"192.168.4.4");
        EXPECT_EQ(TreeTexts(w, D::kTree),
                  (Texts{L"q1-plotroom", L"fe80::12", L"192.168.4.4  [Not Connected]", L"None"}));
        EXPECT_EQ(w.GetTreeItemText(D::kTree, w.GetTreeSelection(D::kTree)),
                  L"192.168.4.4  [Not Connected]");
        // A typed address an agent answers for selects that agent.
        w.TypeText(D::kAddress, L"fe80::12%2");
        EXPECT_EQ(TreeTexts(w, D::kTree), (Texts{L"q1-plotroom", L"fe80::12", L"None"}));
        EXPECT_EQ(w.GetTreeItemText(D::kTree, w.GetTreeSelection(D::kTree)), L"fe80::12");
        EXPECT_EQ(w.GetText(D::kAddress), L"fe80::12%2");
        w.Click(IDCANCEL);
    });
    CXomDlgSnmpAgentConnect dialog(&agents, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(selected.m_sysName, L"plotter-9") << "Cancel changes nothing";
}

TEST_F(ConnectDialogTest, BadAddressesShowTheTipAndLeaveTheTree) {
    Then([](CXomDialog&, DialogWindow& w) {
        const Texts before = TreeTexts(w, D::kTree);
        for (const wchar_t* bad : {L"10.0.0.300", L"10.0.0.5:9100", L"0.0.0.0", L"plotter"}) {
            w.TypeText(D::kAddress, bad);
            EXPECT_FALSE(w.GetErrorTip(D::kAddress).empty()) << testing::PrintToString(bad);
            EXPECT_EQ(TreeTexts(w, D::kTree), before);
        }
        w.TypeText(D::kAddress, L"");
        EXPECT_TRUE(w.GetErrorTip(D::kAddress).empty());
        w.TypeText(D::kAddress, L"10.0.0.300");
        w.Click(IDOK);
    });
    selected.m_address = KnownAgents::Address(L"10.0.0.5");
    selected.m_sysName = L"q1-plotroom";
    CXomDlgSnmpAgentConnect dialog(&agents, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(selected.m_address.IsUnspecified()) << "no address is stored from bad text";
    EXPECT_TRUE(selected.m_sysName.empty());
}

TEST_F(ConnectDialogTest, TheCommunityBoxKeepsEachCommunityOnceWithTheLatestOnTop) {
    selected.m_community = L"private";
    Then([](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(ListTexts(w, D::kCommunity), (Texts{L"private", L"tamsel"}));
        EXPECT_EQ(w.GetText(D::kCommunity), L"private");
        SelectTreeEntry(w, D::kTree, L"q1-plotroom");
        EXPECT_EQ(ListTexts(w, D::kCommunity), (Texts{L"tamsel", L"private"}));
        EXPECT_EQ(w.GetText(D::kCommunity), L"tamsel");
        EXPECT_EQ(w.GetText(D::kAddress), L"10.0.0.5");
        // A line beneath an entry picks that entry's printer.
        SelectTreeEntry(w, D::kTree, L"IP Address: fe80::12");
        EXPECT_EQ(w.GetText(D::kAddress), L"fe80::12");
        EXPECT_EQ(ListTexts(w, D::kCommunity), (Texts{L"tamsel", L"private"}))
            << "an agent without community leaves the box";
        w.SelectItem(D::kCommunity, 1);
        EXPECT_EQ(w.GetText(D::kCommunity), L"private");
        w.TypeText(D::kCommunity, L"");
        w.TypeText(D::kAddress, L"192.168.4.4");
        w.Click(IDOK);
    });
    CXomDlgSnmpAgentConnect dialog(&agents, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(selected.m_address.ToText(), L"192.168.4.4");
    EXPECT_EQ(selected.m_community, L"tamsel") << "an empty box means the default";
}

TEST_F(ConnectDialogTest, OkCopiesTheChosenAgent) {
    selected.m_address = KnownAgents::Address(L"10.0.0.9");
    selected.m_sysName = L"old";
    Then([](CXomDialog&, DialogWindow& w) {
        SelectTreeEntry(w, D::kTree, L"q1-plotroom");
        w.Click(IDOK);
    });
    CXomDlgSnmpAgentConnect dialog(&agents, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(selected.m_address.ToText(), L"10.0.0.5");
    EXPECT_EQ(selected.m_sysName, L"q1-plotroom");
    EXPECT_EQ(selected.m_sysDescription, L"XOM Q Series Q1");
    EXPECT_EQ(selected.m_sysLocation, L"Room 2");
    EXPECT_EQ(selected.m_physicalAddress, kMac);
    EXPECT_EQ(selected.m_community, L"tamsel");
}

TEST_F(ConnectDialogTest, OkWithATypedUnknownAddressKeepsOnlyAddressAndCommunity) {
    selected.m_address = KnownAgents::Address(L"10.0.0.5");
    selected.m_sysName = L"q1-plotroom";
    selected.m_physicalAddress = kMac;
    selected.m_printerData = std::make_unique<CXomPrinterData>();
    Then([](CXomDialog&, DialogWindow& w) {
        w.TypeText(D::kAddress, L"fe80::99%4");
        w.TypeText(D::kCommunity, L" secret ");
        w.Click(IDOK);
    });
    CXomDlgSnmpAgentConnect dialog(&agents, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(selected.m_address.ToText(), L"fe80::99%4");
    EXPECT_EQ(selected.m_community, L"secret");
    EXPECT_TRUE(selected.m_sysName.empty());
    EXPECT_TRUE(selected.m_physicalAddress.empty());
    EXPECT_EQ(selected.m_printerData, nullptr);
}

TEST_F(ConnectDialogTest, OkWithNoneLeavesThePrinterWithoutAddress) {
    selected.m_address = KnownAgents::Address(L"10.0.0.5");
    Then([](CXomDialog&, DialogWindow& w) {
        SelectTreeEntry(w, D::kTree, L"None");
        EXPECT_EQ(w.GetText(D::kAddress), L"");
        w.Click(IDOK);
    });
    CXomDlgSnmpAgentConnect dialog(&agents, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(selected.m_address.IsUnspecified());
}

TEST_F(DialogTest, WithoutAManagerOnlyTheSelectedPrinterAndNoneAreListed) {
    CXomMachine selected;
    selected.m_address = KnownAgents::Address(L"10.3.3.3");
    std::vector<CSnmpAgent> recent;
    Then([](CXomDialog&, DialogWindow& w) {
        w.Click(D::kSearch);
        EXPECT_EQ(TreeTexts(w, D::kTree), (Texts{L"10.3.3.3  [Not Connected]", L"None"}));
        w.Click(IDCANCEL);
    });
    CXomDlgSnmpAgentConnect dialog(nullptr, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// A machine without a usable network adapter.
class NoAdapters : public JuxNetwork::IAdapterSource {
  public:
    bool ListAddresses(std::vector<JuxNetwork::AdapterAddressRecord>& records) override {
        records.clear();
        return true;
    }
};

TEST_F(DialogTest, ASearchWithoutANetworkSaysSoAndKeepsTheCommunity) {
    JuxNetwork::NetIpIoManagerOptions options;
    options.adapterSource = std::make_shared<NoAdapters>();
    KnownAgents manager(options);
    ASSERT_TRUE(manager.Start());
    CXomMachine selected;
    std::vector<CSnmpAgent> recent;
    Then([&manager](CXomDialog&, DialogWindow& w) {
        // The search ran by itself (no agent known yet), and found no network.
        EXPECT_EQ(w.GetText(D::kStatus), L"Network is not available.");
        EXPECT_EQ(TreeTexts(w, D::kTree), (Texts{L"None"}));
        EXPECT_EQ(TreeTexts(w, D::kTree, FindTreeEntry(w, D::kTree, L"None")), Texts{});
        w.TypeText(D::kCommunity, L"c2");
        w.Click(D::kSearch);
        EXPECT_EQ(manager.GetCommunity(), L"c2");
        EXPECT_EQ(ListTexts(w, D::kCommunity), (Texts{L"c2", L"tamsel"}));
        w.Click(IDCANCEL);
    });
    CXomDlgSnmpAgentConnect dialog(&manager, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    manager.Stop();
}

TEST_F(DialogTest, TheGenericDialogsFilterButtonChangesWhatIsListed) {
    JuxNetwork::NetIpIoManagerOptions options;
    options.adapterSource = std::make_shared<NoAdapters>();
    KnownAgents manager(options);
    ASSERT_TRUE(manager.Start());
    manager.Answer(L"10.0.0.5", L"XOM Q Series Q1", L"q1-plotroom", L"tamsel");
    manager.Answer(L"10.0.0.7", L"Laser 5 office printer", L"laser", L"public");
    CXomMachine selected;
    std::vector<CSnmpAgent> recent;
    Then([this](CXomDialog&, DialogWindow& w) {
        EXPECT_EQ(TreeTexts(w, D::kTree), (Texts{L"q1-plotroom", L"laser", L"None"}));
        Next({[](CXomDialog&, DialogWindow& enter) {
            EXPECT_EQ(enter.GetText(CDlgEnter::kEdit), L"");
            enter.TypeText(CDlgEnter::kEdit, L"LaSeR");
            enter.Click(IDOK);
        }});
        w.Click(D::kFilter);
        EXPECT_EQ(w.GetText(D::kFilter), L"Filter: LaSeR");
        EXPECT_EQ(TreeTexts(w, D::kTree), (Texts{L"laser", L"None"}));
        w.Click(IDCANCEL);
    });
    D dialog(&manager, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, (std::vector<unsigned>{D::kTemplate, CDlgEnter::kTemplate}));
    manager.Stop();
}

}  // namespace
