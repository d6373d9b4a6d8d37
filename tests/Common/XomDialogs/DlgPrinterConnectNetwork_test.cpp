// The printer connect dialog searching a private network for real: two simulated printers and an
// office printer whose description lacks the brand, all answering the search; then the settings
// dialog linking one of them through it. The dialogs run on this thread, which enters the
// network's client namespace for the test (its sockets are made there). Needs root, as every
// namespace test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

#include "Common/XOM/DriverApp.h"
#include "Common/XomDialogs/DlgCustomSettings.h"
#include "Common/XomDialogs/DlgPrinterConnect.h"
#include "Common/XomSettings/SettingsStore.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "DialogScript.h"
#include "SettingsDialogScript.h"
#include "tests/tools/xomplot/NamespacePrinters.h"

namespace {

using xomplatform::DialogWindow;
using D = CDlgSnmpAgentConnect;

// This thread in the named network namespace while it lives.
class InNetworkNamespace {
  public:
    explicit InNetworkNamespace(const std::string& name)
        : m_home(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
        const int target = open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        m_entered = m_home >= 0 && target >= 0 && setns(target, CLONE_NEWNET) == 0;
        if (target >= 0) close(target);
    }
    ~InNetworkNamespace() {
        if (m_entered) {
            EXPECT_EQ(setns(m_home, CLONE_NEWNET), 0);
        }
        if (m_home >= 0) close(m_home);
    }
    InNetworkNamespace(const InNetworkNamespace&) = delete;
    InNetworkNamespace& operator=(const InNetworkNamespace&) = delete;
    bool Entered() const { return m_entered; }

  private:
    int m_home;
    bool m_entered = false;
};

// The first printer's description under another identity.
std::string OfficePrinter() {
    std::ifstream in(std::string(XOM_TEST_EXAMPLES) + "/printer-q1.txt");
    std::ostringstream out;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("description ", 0) == 0) line = "description Laser 5 office printer";
        if (line.rfind("name ", 0) == 0) line = "name office-laser";
        if (line.rfind("mac ", 0) == 0) line = "mac 00-1A-2B-3C-4D-09";
        out << line << "\n";
    }
    return out.str();
}

TEST_F(DialogTest, ConnectDialogFindsTheSimulatedPrintersAndLinksOne) {
    xomtest::NamespacePrinters network("pc");
    const auto up = network.Up();
    ASSERT_EQ(up.second, 0) << up.first;
    // The office printer beside q2, on an address of its own; the script's "down" stops it.
    const std::string office = (network.state / "office.txt").string();
    std::ofstream(office) << OfficePrinter();
    const std::string log = (network.state / "office-ipv4.log").string();
    const auto started = xomtest::Shell(
        "ip -n " + network.prefix +
        "q2 addr add 10.200.0.13/24 broadcast 10.200.0.255 dev eth0 && "
        "(ip netns exec " +
        network.prefix + "q2 " + XOM_TEST_XOMSIM + " --address 10.200.0.13 --port 0 --jobs " +
        network.state.string() + " --printer " + office + " >" + log + " 2>&1 & echo $! >" +
        network.state.string() +
        "/office-ipv4.pid) && for i in $(seq 50); do grep -q '^xomsim: listening' " + log +
        " && exit 0; sleep 0.1; done; cat " + log + "; exit 1");
    ASSERT_EQ(started.second, 0) << started.first;

    InNetworkNamespace client(network.prefix + "cli");
    ASSERT_TRUE(client.Entered());
    JuxNetwork::SnmpManagerOptions snmp;
    snmp.responseTimeout = std::chrono::milliseconds(150);
    snmp.tries = 3;
    JuxNetwork::CSnmpManager manager({}, snmp);
    ASSERT_TRUE(manager.Start());

    CXomMachine selected;
    std::vector<CSnmpAgent> recent;
    Then([](CXomDialog&, DialogWindow& w) {
        // The search ran before this step: the printers answered on IPv4 and IPv6.
        const auto top = TreeTexts(w, D::kTree);
        EXPECT_EQ(std::count(top.begin(), top.end(), L"q1-plotroom"), 2) << top.size();
        EXPECT_EQ(std::count(top.begin(), top.end(), L"q2-drawing-office"), 2);
        EXPECT_EQ(std::count(top.begin(), top.end(), L"office-laser"), 0);
        EXPECT_EQ(top.back(), L"None");
        EXPECT_EQ(top.size(), 5u);
        const int q2 =
            w.GetTreeParent(D::kTree, FindTreeEntry(w, D::kTree, L"IP Address: 10.200.0.12"));
        EXPECT_EQ(TreeTexts(w, D::kTree, q2),
                  (std::vector<std::wstring>{L"IP Address: 10.200.0.12", L"q2-drawing-office",
                                             L"MAC Address: 00-1A-2B-3C-4D-02"}));
        EXPECT_EQ(w.GetText(D::kStatus), L"Select printer or enter IP Address");
        SelectTreeEntry(w, D::kTree, L"IP Address: 10.200.0.11");
        Screenshot(w, "printer-connect");
        w.Click(IDOK);
    });
    CXomDlgSnmpAgentConnect dialog(&manager, selected, recent);
    EXPECT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(selected.m_address.ToText(), L"10.200.0.11");
    EXPECT_EQ(selected.m_sysName, L"q1-plotroom");
    EXPECT_EQ(selected.m_sysDescription, L"XOM Q Series Q1 wide-format printer, firmware 2.10");
    EXPECT_EQ(selected.m_physicalAddress, (OctetArray{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01}));
    EXPECT_EQ(selected.m_community, L"tamsel");
    // The office printer answered and was left out by the filter, not by the network.
    bool officeAnswered = false;
    for (const CSnmpAgent& agent : manager.GetAgents())
        officeAnswered = officeAnswered || agent.m_sysName == L"office-laser";
    EXPECT_TRUE(officeAnswered);
    manager.Stop();

    // The settings dialog of a configuration without a printer offers the connect dialog first:
    // its search finds the printers again, q2 is picked, its data read through the driver's own
    // network (made in this namespace), a media of q2 chosen, and OK stores them.
    ShutdownPrinterNetwork();
    SetPrinterNetworkOptions({}, snmp);
    theApp().currentPrinter().Reset();
    SPMP<HT_Std_Plotter_Definition> host = MakeSettingsHost();
    SetLongSetting(*host, L"DisableMediaWarning", 1);
    bool connectClosed = false;
    Then([&](CXomDialog&, DialogWindow& w) {
        WhenTrue(w, connectClosed, [this, &w] {
            EXPECT_EQ(w.GetText(CDlgCustomSettings::kPrinterText), L"q2-drawing-office");
            Next({PickRow(1)});
            w.Click(CDlgCustomSettings::kMediaButton);
            Screenshot(w, "custom-settings-discovered");
            w.Click(IDOK);
        });
    });
    Then([&](CXomDialog& connect, DialogWindow& w) {
        EXPECT_EQ(connect.TemplateId(), D::kTemplate);
        SelectTreeEntry(w, D::kTree, L"IP Address: 10.200.0.12");
        w.Click(IDOK);
        connectClosed = true;
    });
    CDlgCustomSettings settings(nullptr, theApp().currentPrinter(), *host);
    EXPECT_EQ(settings.DoModal(), IDOK);
    DriverSettings stored;
    LoadSettings(stored, *host);
    EXPECT_EQ(stored.MachineIpAddress, L"10.200.0.12");
    EXPECT_EQ(stored.MachineName, L"q2-drawing-office");
    EXPECT_EQ(stored.MachineMacAddress, L"00-1A-2B-3C-4D-02");
    EXPECT_EQ(stored.MediaName, L"Coated paper 120 g");
    ShutdownPrinterNetwork();
    SetPrinterNetworkOptions({}, {});
    theApp().currentPrinter().Reset();
}

}  // namespace
