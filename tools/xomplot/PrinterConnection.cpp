#include "tools/xomplot/PrinterConnection.h"

#include "platform/Utf8.h"
#include "tools/xomplot/PlotOutcome.h"

namespace xomplot {

PrinterConnection::~PrinterConnection() {
    if (context != nullptr) context->Close();
}

int PrinterConnection::Open(const std::string& text, const std::string& communityText,
                            std::FILE* err) {
    if (!address.Set(xomplatform::FromUtf8(text)) || address.IsUnspecified()) {
        std::fprintf(err, "xomplot: '%s' is not a printer's IPv4 or IPv6 address\n", text.c_str());
        return kExitUsage;
    }
    if (!manager.Start()) {
        std::fprintf(err,
                     "xomplot: the network cannot be used (the SNMP manager will not start)\n");
        return 1;
    }
    // A link-local printer is reached through the adapter its address belongs to.
    manager.RefreshAdapters();
    community =
        communityText.empty() ? manager.GetCommunity() : xomplatform::FromUtf8(communityText);
    manager.SetCommunity(community);
    context = manager.OpenAgentSocket(address);
    if (context == nullptr) {
        std::fprintf(err,
                     "xomplot: no network adapter reaches %s (only adapters that are up, "
                     "Ethernet or wireless, count; loopback does not)\n",
                     text.c_str());
        return 1;
    }
    return 0;
}

}  // namespace xomplot
