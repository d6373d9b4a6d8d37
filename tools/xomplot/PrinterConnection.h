#pragma once
// A started SNMP manager with a socket to one printer, as `xomplot printers info` and `xomplot
// config link` open them before asking the printer anything.
#include <cstdio>
#include <string>

#include "juxcommoncode/JuxNetwork/SnmpManager.h"

namespace xomplot {

class PrinterConnection {
  public:
    PrinterConnection() = default;
    ~PrinterConnection();
    PrinterConnection(const PrinterConnection&) = delete;
    PrinterConnection& operator=(const PrinterConnection&) = delete;

    // Opens the socket to the printer whose address is text, asking with communityText (empty:
    // the manager's default). Exit status 0 when open; else the reason is written to err and the
    // status is 64 for a text that is no IPv4 or IPv6 address, 1 when the network cannot be used
    // or no adapter reaches the printer.
    int Open(const std::string& text, const std::string& communityText, std::FILE* err);

    JuxNetwork::CSnmpManager manager;
    JuxNetwork::CSocketContext* context = nullptr;  // open after a successful Open
    JuxNetwork::JUX_IP_ADDRESS address;
    std::wstring community;  // the community in force
};

}  // namespace xomplot
