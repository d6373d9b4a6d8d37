#include "Common/xomOutput/PrinterNetwork.h"

#include <memory>

#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/StringIds.h"
#include "platform/MessageService.h"

namespace {

std::unique_ptr<JuxNetwork::CSnmpManager> g_manager;
JuxNetwork::NetIpIoManagerOptions g_options;
JuxNetwork::SnmpManagerOptions g_snmp;

}  // namespace

JuxNetwork::CSnmpManager* PrinterNetwork() {
    if (!g_manager) g_manager = std::make_unique<JuxNetwork::CSnmpManager>(g_options, g_snmp);
    if (g_manager->IsStarted()) return g_manager.get();
    if (!g_manager->Start()) return nullptr;
    // A link-local printer is reached through the adapter its address belongs to.
    g_manager->RefreshAdapters();
    return g_manager.get();
}

JuxNetwork::HRESULT StartSnmpManager() {
    if (PrinterNetwork() != nullptr) return JuxNetwork::kS_OK;
    xomplatform::ShowMessage(LocalizedString(IDS_SNMP_WILL_NOT_START), LocalizedString(IDS_ERROR),
                             xomplatform::MessageIcon::Stop);
    return JuxNetwork::kE_FAIL;
}

void PurgePrinterNetwork() {
    if (g_manager && g_manager->IsStarted()) g_manager->PurgeSocketContexts();
}

void ShutdownPrinterNetwork() {
    if (g_manager) g_manager->Stop();
    g_manager.reset();
}

void SetPrinterNetworkOptions(JuxNetwork::NetIpIoManagerOptions options,
                              JuxNetwork::SnmpManagerOptions snmp) {
    g_options = std::move(options);
    g_snmp = snmp;
}
