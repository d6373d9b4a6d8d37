#include "Common/XomDialogs/DlgPrinterConnect.h"

#include <cwctype>

#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/StringIds.h"
#include "Common/XomDialogs/DialogText.h"
#include "Common/XomDialogs/DlgEnter.h"
#include "juxcommoncode/PrinterData/ResponseValues.h"
#include "juxcommoncode/Snmp/BerTags.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

using JuxNetwork::JUX_IP_ADDRESS;
using xomplatform::DialogWindow;
using xomplatform::Notification;

namespace {

using Texts = std::vector<std::wstring>;

// ifPhysAddress of interface 1: the printer's MAC address.
constexpr const wchar_t* kMacAddressOid = L"1.3.6.1.2.1.2.2.1.6.1";
// The status line starts its dots again when it grows beyond this.
constexpr std::size_t kMaxStatusLength = 30;

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return text;
}

// "%s  [%s]": a printer nobody answers for, with the unreachable marker.
std::wstring Unreachable(const std::wstring& name, const std::wstring& marker) {
    return name + L"  [" + marker + L"]";
}

// The agent's MAC address, asked of the agent itself; empty when it does not answer.
OctetArray AskMacAddress(JuxNetwork::CSnmpManager& manager, const CSnmpAgent& agent) {
    OctetArray mac;
    JuxNetwork::CSocketContext* context = manager.OpenAgentSocket(agent.m_address);
    if (context == nullptr) return mac;
    JuxNetwork::CSnmpMessage request;
    request.SetCommunity(agent.m_community.empty()
                             ? std::wstring(CDlgSnmpAgentConnect::kDefaultCommunity)
                             : agent.m_community);
    request.SetPduType(JuxNetwork::kBerTagGetRequestPdu);
    request.AddVarbind(kMacAddressOid);
    JuxNetwork::CSnmpMessage response;
    if (JuxNetwork::Succeeded(manager.SendRequest(*context, request, response)))
        CResponseValues(response).Octets(0, mac);
    context->Close();
    return mac;
}

}  // namespace

CDlgSnmpAgentConnect::CDlgSnmpAgentConnect(JuxNetwork::CSnmpManager* manager, CXomMachine& selected,
                                           const std::vector<CSnmpAgent>& recent)
    : CXomDialog(kTemplate), m_manager(manager), m_selected(selected), m_recent(recent) {}

void CDlgSnmpAgentConnect::OnInitDialog() {
    W().SetTitle(m_captions.title);
    W().SetText(kSearch, m_captions.search);
    W().SetText(IDOK, m_captions.ok);
    W().SetText(IDCANCEL, m_captions.cancel);
    W().SetText(kAddressLabel, NormalisedLabel(m_captions.addressLabel));
    W().SetText(kCommunityLabel, NormalisedLabel(m_captions.communityLabel));
    m_status = m_captions.prompt;
    W().SetText(kStatus, m_status);
    W().Show(kFilter, m_filterEditable);
    W().SetText(kFilter, FilterCaption());
    W().Show(kShowRecent, false);

    SetAddressText(AddressEntryText(m_selected.m_address));
    W().ClearList(kCommunity);
    PutCommunityOnTop(kDefaultCommunity);
    if (!m_selected.m_community.empty()) PutCommunityOnTop(m_selected.m_community);

    if (m_manager != nullptr && m_manager->GetAgents().empty()) PostToSelf([this] { Search(); });
    PostToSelf([this] { Rebuild(false); });
    W().SetFocus(kTree);
}

void CDlgSnmpAgentConnect::OnControl(unsigned id, Notification what) {
    if (id == kSearch && what == Notification::Clicked) {
        Search();
    } else if (id == kFilter && what == Notification::Clicked) {
        OnFilterButton();
    } else if (id == kTree && what == Notification::SelectionChanged) {
        OnTreeSelection();
    } else if (id == kAddress && what == Notification::Changed && !m_settingAddress) {
        OnAddressTyped();
    }
}

void CDlgSnmpAgentConnect::OnOK() {
    EndDialog(IDOK);
    JUX_IP_ADDRESS typed;
    ParseTypedAddress(W().GetText(kAddress), typed);
    if (m_manager != nullptr && !typed.IsUnspecified()) {
        for (const CSnmpAgent& agent : m_manager->GetAgents()) {
            if (SameHostAddress(agent.m_address, typed)) {
                m_selected.CopyIdentity(agent);
                return;
            }
        }
    }
    m_selected.Reset();
    m_selected.m_address = typed;
    m_selected.m_community = Community();
}

bool CDlgSnmpAgentConnect::Listed(const CSnmpAgent& agent) const {
    return m_filter.empty() ||
           Upper(agent.m_sysDescription).find(Upper(m_filter)) != std::wstring::npos;
}

std::wstring CDlgSnmpAgentConnect::FilterCaption() const {
    return L"Filter: " + (m_filter.empty() ? m_captions.none : m_filter);
}

void CDlgSnmpAgentConnect::Search() {
    if (m_busy) return;
    const std::wstring community = Community();
    PutCommunityOnTop(community);
    W().SetDefaultButton(IDOK);
    if (m_manager == nullptr) return;
    m_manager->SetCommunity(community);
    {
        CWaitCursor wait(*this);
        m_busy = true;
        m_status = m_captions.searching + L" . . .";
        W().SetText(kStatus, m_status);
        const bool searched = JuxNetwork::Succeeded(m_manager->Discover());
        m_status += L" .";
        W().SetText(kStatus, m_status);
        AskForMacAddresses();
        m_busy = false;
        // Without a network to search the user is told so, not shown an empty tree as the answer.
        m_status = searched ? m_captions.prompt : m_captions.noNetwork;
    }
    W().SetText(kStatus, m_status);
    Rebuild(false);
}

void CDlgSnmpAgentConnect::AskForMacAddresses() {
    for (const CSnmpAgent& agent : m_manager->GetAgents()) {
        AppendStatusDot();
        const OctetArray mac = AskMacAddress(*m_manager, agent);
        if (!mac.empty()) m_manager->SetAgentPhysicalAddress(agent.m_address, mac);
    }
}

void CDlgSnmpAgentConnect::AppendStatusDot() {
    if (m_status.size() > kMaxStatusLength) {
        m_status = m_captions.searching + L" . . .";
    } else {
        m_status += L" .";
    }
    W().SetText(kStatus, m_status);
}

void CDlgSnmpAgentConnect::Rebuild(bool keepTypedAddress) {
    m_items.clear();
    if (m_showRecent) {
        for (const CSnmpAgent& printer : m_recent)
            m_items.push_back(CPrinterDisplayItem::FromAgent(printer));
    } else if (m_manager != nullptr) {
        for (const CSnmpAgent& agent : m_manager->GetAgents())
            if (Listed(agent)) m_items.push_back(CPrinterDisplayItem::FromAgent(agent));
    }

    // The printer to show selected: the typed address, or the selected printer's.
    JUX_IP_ADDRESS target;
    if (keepTypedAddress) {
        ParseTypedAddress(W().GetText(kAddress), target);
    } else {
        target = m_selected.m_address;
    }
    std::size_t selected = m_items.size();
    for (std::size_t i = 0; i < m_items.size() && selected == m_items.size(); ++i)
        if (const JUX_IP_ADDRESS* address = m_items[i].ChosenAddress())
            if (SameHostAddress(*address, target)) selected = i;
    if (!target.IsUnspecified() && selected == m_items.size()) {
        CPrinterDisplayItem item;
        if (keepTypedAddress) {
            item.m_addresses.push_back(target);
            item.m_community = Community();
        } else {
            item = CPrinterDisplayItem::FromAgent(m_selected);
        }
        item.m_displayText =
            Unreachable(item.m_printerName.empty() ? AddressEntryText(target) : item.m_printerName,
                        m_captions.notConnected);
        m_items.push_back(std::move(item));
    }

    CPrinterDisplayItem none;
    none.m_displayText = m_captions.none;
    m_items.push_back(std::move(none));
    if (target.IsUnspecified()) selected = m_items.size() - 1;
    FillTree(selected);
}

void CDlgSnmpAgentConnect::FillTree(std::size_t selectedItem) {
    const PrinterLineLabels labels{NormalisedLabel(m_captions.addressLabel),
                                   NormalisedLabel(m_captions.macLabel),
                                   NormalisedLabel(m_captions.communityLabel)};
    W().ClearTree(kTree);
    int selectedEntry = -1;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const auto data = static_cast<std::intptr_t>(i);
        const int entry =
            W().InsertTreeItem(kTree, DialogWindow::kTreeRoot, m_items[i].EntryText(), data);
        // "None" names no printer: nothing stands beneath it.
        const bool printer = m_items[i].ChosenAddress() != nullptr;
        for (const std::wstring& line : printer ? PrinterLines(m_items[i], labels) : Texts{})
            W().InsertTreeItem(kTree, entry, line, data);
        if (i == selectedItem) selectedEntry = entry;
    }
    if (selectedEntry >= 0) {
        W().ExpandTreeItem(kTree, selectedEntry, true);
        W().SelectTreeItem(kTree, selectedEntry);
    }
}

void CDlgSnmpAgentConnect::OnTreeSelection() {
    const int entry = W().GetTreeSelection(kTree);
    if (entry < 0) return;
    const std::intptr_t index = W().GetTreeItemData(kTree, entry);
    if (index < 0 || static_cast<std::size_t>(index) >= m_items.size()) return;
    const CPrinterDisplayItem& item = m_items[static_cast<std::size_t>(index)];
    const JUX_IP_ADDRESS* address = item.ChosenAddress();
    SetAddressText(address == nullptr ? std::wstring() : AddressEntryText(*address));
    if (address != nullptr && !item.m_community.empty()) PutCommunityOnTop(item.m_community);
}

void CDlgSnmpAgentConnect::OnAddressTyped() {
    const std::wstring text = W().GetText(kAddress);
    JUX_IP_ADDRESS typed;
    if (Trimmed(text).empty()) {
        W().SetErrorTip(kAddress, L"");
    } else if (ParseTypedAddress(text, typed)) {
        W().SetErrorTip(kAddress, L"");
        Rebuild(true);
    } else {
        W().SetErrorTip(kAddress, m_captions.badAddress);
    }
}

void CDlgSnmpAgentConnect::OnFilterButton() {
    std::wstring filter = m_filter;
    CDlgEnter enter(filter, m_captions.filterTitle, false);
    if (enter.DoModal() != IDOK || filter == m_filter) return;
    m_filter = filter;
    W().SetText(kFilter, FilterCaption());
    Search();
}

void CDlgSnmpAgentConnect::PutCommunityOnTop(const std::wstring& community) {
    for (int i = W().GetListCount(kCommunity) - 1; i >= 0; --i)
        if (W().GetListText(kCommunity, i) == community) W().DeleteListItem(kCommunity, i);
    W().InsertListItem(kCommunity, 0, community, 0);
    W().SetListSelection(kCommunity, 0);
}

std::wstring CDlgSnmpAgentConnect::Community() {
    const std::wstring text = Trimmed(W().GetText(kCommunity));
    return text.empty() ? std::wstring(kDefaultCommunity) : text;
}

void CDlgSnmpAgentConnect::SetAddressText(const std::wstring& text) {
    m_settingAddress = true;
    W().SetText(kAddress, text);
    m_settingAddress = false;
    W().SetErrorTip(kAddress, L"");
}

CXomDlgSnmpAgentConnect::CXomDlgSnmpAgentConnect(JuxNetwork::CSnmpManager* manager,
                                                 CXomMachine& selected,
                                                 const std::vector<CSnmpAgent>& recent)
    : CDlgSnmpAgentConnect(manager, selected, recent) {
    m_captions.title = LocalizedString(226);           // "Printer Connection"
    m_captions.search = LocalizedString(241);          // "Search"
    m_captions.ok = LocalizedString(242);              // "OK"
    m_captions.cancel = LocalizedString(243);          // "Cancel"
    m_captions.searching = LocalizedString(237);       // "Searching network"
    m_captions.prompt = LocalizedString(233);          // "Select printer or enter IP Address"
    m_captions.notConnected = LocalizedString(235);    // "Not Connected"
    m_captions.addressLabel = LocalizedString(283);    // "IP Address"
    m_captions.macLabel = LocalizedString(284);        // "MAC Address"
    m_captions.none = LocalizedString(261);            // "None"
    m_captions.communityLabel = LocalizedString(371);  // "SNMP Community"
    m_captions.noNetwork = LocalizedString(IDS_NETWORK_UNAVAILABLE);
    SetFilter(L"XOM", false);
}
