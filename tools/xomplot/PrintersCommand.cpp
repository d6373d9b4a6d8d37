#include "tools/xomplot/PrintersCommand.h"

#include <CLI/CLI.hpp>
#include <cctype>

#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/PrinterData/PrinterData.h"
#include "platform/Utf8.h"
#include "tools/xomplot/PrinterConnection.h"

namespace xomplot {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 64;
// The maker's word in the description of every Q Series printer.
constexpr const wchar_t* kMakerWord = L"XOM";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Tabs and line ends inside a text would break the line's columns.
std::string Field(const std::wstring& text) {
    std::string field = xomplatform::ToUtf8(text);
    for (char& c : field)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return field.empty() ? "-" : field;
}

}  // namespace

PrintersCommand AddPrintersCommand(CLI::App& app, PrintersOptions& options) {
    CLI::App* printers =
        app.add_subcommand("printers", "Find the printers on the local networks, wake one up");
    PrintersCommand command;
    command.discover = printers->add_subcommand(
        "discover",
        "Ask every local network (IPv4 broadcast, IPv6 all-nodes) who is there and list the "
        "printers that answer within one second: address, name, description, location and "
        "community, tab-separated. Takes about one second; loopback is not searched");
    command.discover->add_option("--community", options.community,
                                 "SNMP community to ask with (default: tamsel)");
    command.discover->add_flag("--all", options.all,
                               "List every SNMP agent that answers, not only Q Series printers");
    command.info = printers->add_subcommand(
        "info",
        "Read everything a printer tells the driver (identity, colorants, access rules, media, "
        "trays, presets, stamps, users and accounting fields) and print it; one request per "
        "table row");
    command.info->add_option("ADDRESS", options.address, "The printer's IPv4 or IPv6 address")
        ->required();
    command.info->add_option("--community", options.community,
                             "SNMP community to ask with (default: tamsel)");
    command.wake = printers->add_subcommand(
        "wake",
        "Send the Wake-on-LAN packet for a printer's MAC address to port 7 of every local "
        "network; returns at once (the printer answers once it is awake)");
    command.wake
        ->add_option("MAC", options.mac, "The printer's MAC address, e.g. 00-11-22-33-44-55")
        ->required();
    printers->require_subcommand(1);
    return command;
}

std::optional<std::vector<std::uint8_t>> ParseMacAddress(const std::string& text) {
    std::vector<std::uint8_t> octets;
    std::size_t i = 0;
    const bool separated = text.size() == 17;
    while (i < text.size() && octets.size() < 6) {
        if (i + 1 >= text.size()) return std::nullopt;
        const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        octets.push_back(static_cast<std::uint8_t>(high * 16 + low));
        i += 2;
        if (separated && octets.size() < 6) {
            if (i >= text.size() || (text[i] != '-' && text[i] != ':') || text[i] != text[2])
                return std::nullopt;
            ++i;
        }
    }
    if (octets.size() != 6 || i != text.size() || (!separated && text.size() != 12))
        return std::nullopt;
    return octets;
}

std::vector<std::string> AgentLines(const std::vector<CSnmpAgent>& agents, bool all) {
    std::vector<std::string> lines;
    for (const CSnmpAgent& agent : agents) {
        if (!all && agent.m_sysDescription.find(kMakerWord) == std::wstring::npos) continue;
        lines.push_back(Field(agent.m_address.ToText()) + "\t" + Field(agent.m_sysName) + "\t" +
                        Field(agent.m_sysDescription) + "\t" + Field(agent.m_sysLocation) + "\t" +
                        Field(agent.m_community));
    }
    return lines;
}

int RunDiscover(const PrintersOptions& options, std::FILE* out, std::FILE* err) {
    JuxNetwork::CSnmpManager manager;
    if (!manager.Start()) {
        std::fprintf(err,
                     "xomplot: the network cannot be used (the SNMP manager will not start)\n");
        return kExitFailed;
    }
    if (!options.community.empty()) manager.SetCommunity(xomplatform::FromUtf8(options.community));
    if (manager.Discover() != JuxNetwork::kS_OK) {
        std::fprintf(err,
                     "xomplot: no network adapter to search (only adapters that are up, Ethernet "
                     "or wireless, count; loopback does not)\n");
        return kExitFailed;
    }
    const std::vector<CSnmpAgent> agents = manager.GetAgents();
    const std::vector<std::string> lines = AgentLines(agents, options.all);
    for (const std::string& line : lines) std::fprintf(out, "%s\n", line.c_str());
    if (lines.empty()) {
        std::fprintf(out, agents.empty() ? "No printers answered.\n"
                                         : "No Q Series printers answered (--all lists every "
                                           "agent that did).\n");
    }
    return 0;
}

int RunInfo(const PrintersOptions& options, std::FILE* out, std::FILE* err) {
    PrinterConnection printer;
    if (const int status = printer.Open(options.address, options.community, err); status != 0)
        return status;
    CXomPrinterData data;
    const JuxNetwork::HRESULT hr = data.ReadFromPrinter(printer.manager, *printer.context);
    if (JuxNetwork::Failed(hr)) {
        std::fprintf(err,
                     "xomplot: %s did not give all of a printer's data (no answer, another "
                     "community, or not a Q Series printer); try `xomplot printers wake MAC` if "
                     "it sleeps\n",
                     options.address.c_str());
        return kExitFailed;
    }
    std::fputs(xomplatform::ToUtf8(PrinterDataText(data)).c_str(), out);
    return 0;
}

int RunWake(const PrintersOptions& options, std::FILE* out, std::FILE* err) {
    const auto mac = ParseMacAddress(options.mac);
    if (!mac) {
        std::fprintf(err,
                     "xomplot: '%s' is not a MAC address (six octets, e.g. 00-11-22-33-44-55)\n",
                     options.mac.c_str());
        return kExitUsage;
    }
    JuxNetwork::CSnmpManager manager;
    if (!manager.Start() || !manager.WakePrinter(*mac)) {
        std::fprintf(
            err,
            "xomplot: the wake-up packet could not be sent (no network adapter that is up, "
            "Ethernet or wireless)\n");
        return kExitFailed;
    }
    std::fprintf(out, "Wake-up packet sent for %s.\n", options.mac.c_str());
    return 0;
}

}  // namespace xomplot
