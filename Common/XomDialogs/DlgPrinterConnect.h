#pragma once
// Linking the driver to one printer: the SNMP agents found on the local networks listed in a tree
// (address, name, MAC address or community beneath each), an address entry that takes IPv4 and
// IPv6 text, and the read community. OK writes the chosen printer's identity into the selected
// printer record.
//
// CDlgSnmpAgentConnect is the generic dialog with English captions and a filter the user may
// edit; CXomDlgSnmpAgentConnect lists only the maker's printers and speaks the user's language.
//
// The search asks every network (discovery of the SNMP manager), then each agent found for its MAC
// address, with the wait cursor and a growing row of dots in the status line. Typing a valid
// address rebuilds the tree with that address in it; a bad one shows the entry's error tip.
#include <cstddef>
#include <string>
#include <vector>

#include "Common/XomDialogs/PrinterDisplayItem.h"
#include "Common/XomDialogs/XomDialog.h"
#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/PrinterData/XomMachine.h"

class CDlgSnmpAgentConnect : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 517;
    static constexpr unsigned kStatus = 1124, kTree = 1254, kAddress = 1248, kAddressLabel = 1243;
    static constexpr unsigned kCommunity = 1275, kCommunityLabel = 1268, kSearch = 1195;
    static constexpr unsigned kFilter = 1194, kShowRecent = 1261;

    // manager may be null (no search is possible); selected is the record OK writes; recent is
    // the shared list of printers linked before.
    CDlgSnmpAgentConnect(JuxNetwork::CSnmpManager* manager, CXomMachine& selected,
                         const std::vector<CSnmpAgent>& recent);

    // The community used when the combo box is empty and for agents that gave none.
    static constexpr const wchar_t* kDefaultCommunity = L"tamsel";

    struct Captions {
        std::wstring title = L"SNMP Agent";
        std::wstring search = L"Search";
        std::wstring ok = L"OK";
        std::wstring cancel = L"Cancel";
        std::wstring searching = L"Searching Network";
        std::wstring noNetwork = L"Network is not available.";
        std::wstring prompt = L"Select Agent, or Enter IP Address";
        std::wstring notConnected = L"Not Connected";
        std::wstring addressLabel = L"IP Address";
        std::wstring macLabel = L"MAC Address";
        std::wstring none = L"None";
        std::wstring communityLabel = L"SNMP Community";
        std::wstring badAddress = L"Enter an IPv4 or IPv6 address (no port)";
        std::wstring filterTitle = L"Agent Filter String";
    };

    // The filter: only agents whose system description contains it (in any case) are listed;
    // empty lists every agent. The user may change it through the filter button when editable.
    void SetFilter(std::wstring filter, bool userMayEdit) {
        m_filter = std::move(filter);
        m_filterEditable = userMayEdit;
    }
    // The entries of the tree, as built by the last rebuild.
    const std::vector<CPrinterDisplayItem>& DisplayItems() const { return m_items; }

  protected:
    void OnInitDialog() override;
    void OnControl(unsigned id, xomplatform::Notification what) override;
    void OnOK() override;

    Captions m_captions;

  private:
    bool Listed(const CSnmpAgent& agent) const;
    std::wstring FilterCaption() const;
    void Search();
    void AskForMacAddresses();
    void AppendStatusDot();
    void Rebuild(bool keepTypedAddress);
    void FillTree(std::size_t selectedItem);
    void OnTreeSelection();
    void OnAddressTyped();
    void OnFilterButton();
    void PutCommunityOnTop(const std::wstring& community);
    std::wstring Community();
    void SetAddressText(const std::wstring& text);

    JuxNetwork::CSnmpManager* m_manager;
    CXomMachine& m_selected;
    const std::vector<CSnmpAgent>& m_recent;
    std::wstring m_filter;
    bool m_filterEditable = true;
    bool m_showRecent = false;
    bool m_busy = false;
    bool m_settingAddress = false;  // the entry's change is the dialog's own, not typed
    std::wstring m_status;
    std::vector<CPrinterDisplayItem> m_items;
};

class CXomDlgSnmpAgentConnect : public CDlgSnmpAgentConnect {
  public:
    CXomDlgSnmpAgentConnect(JuxNetwork::CSnmpManager* manager, CXomMachine& selected,
                            const std::vector<CSnmpAgent>& recent);
};
