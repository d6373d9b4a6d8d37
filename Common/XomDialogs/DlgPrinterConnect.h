#pragma once
// Linking the driver to one printer: the SNMP agents found on the local networks listed in a tree
// (address, name, MAC address or community beneath each), an address entry that takes IPv4 and
// IPv6 text, and the read community. OK writes the chosen printer's identity into the selected
// printer record.
//
// CDlgSnmpAgentConnect is the generic dialog with English captions and a filter the user may
// edit; CXomDlgSnmpAgentConnect lists only the maker's printers and speaks the user's language.
#include <string>
#include <vector>

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
};

class CXomDlgSnmpAgentConnect : public CDlgSnmpAgentConnect {
  public:
    CXomDlgSnmpAgentConnect(JuxNetwork::CSnmpManager* manager, CXomMachine& selected,
                            const std::vector<CSnmpAgent>& recent);
};
