#pragma once
// `xomplot printers discover [--community C] [--all]`, `xomplot printers info ADDRESS
// [--community C]` and `xomplot printers wake MAC`: the printers on the local networks, found as
// the driver's connect dialog finds them, everything one of them tells the driver, and the
// Wake-on-LAN packet for a sleeping one.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "juxcommoncode/PrinterData/XomMachine.h"

namespace CLI {
class App;
}

namespace xomplot {

struct PrintersOptions {
    std::string community;  // empty: the manager's default
    bool all = false;       // also agents that are not Q Series printers
    std::string mac;
    std::string address;
};

struct PrintersCommand {
    CLI::App* discover = nullptr;
    CLI::App* wake = nullptr;
    CLI::App* info = nullptr;
};

// Adds the subcommands; the options are filled when one is parsed.
PrintersCommand AddPrintersCommand(CLI::App& app, PrintersOptions& options);

// Runs discovery on every adapter; prints the agents found, one per line. Exit status 0 (also
// when none answered), 1 when there is no adapter or the network cannot be used.
int RunDiscover(const PrintersOptions& options, std::FILE* out, std::FILE* err);
// Reads the printer data of the printer at options.address and prints it, every table with its
// rows. Exit status 0, 1 when no adapter reaches the address or the printer does not answer with
// all of its data, 64 for an address that is not an IPv4 or IPv6 address.
int RunInfo(const PrintersOptions& options, std::FILE* out, std::FILE* err);
// Sends the magic packet for options.mac. Exit status 0 when it went out on an adapter, 1 when
// it did not, 64 for an address that is not six octets.
int RunWake(const PrintersOptions& options, std::FILE* out, std::FILE* err);

// "00-11-22-33-44-55", "00:11:22:33:44:55" or "001122334455"; nullopt for anything else.
std::optional<std::vector<std::uint8_t>> ParseMacAddress(const std::string& text);
// The agents to list (those whose description names the maker, unless all) as lines
// "address<TAB>name<TAB>description<TAB>location<TAB>community", in the order found.
std::vector<std::string> AgentLines(const std::vector<CSnmpAgent>& agents, bool all);

}  // namespace xomplot
