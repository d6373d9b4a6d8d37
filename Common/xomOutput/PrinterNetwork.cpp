#include "Common/xomOutput/PrinterNetwork.h"

#include <memory>

namespace {

std::unique_ptr<JuxNetwork::CNetIpIoManager> g_manager;
JuxNetwork::NetIpIoManagerOptions g_options;

}  // namespace

JuxNetwork::CNetIpIoManager* PrinterNetwork() {
    if (!g_manager) g_manager = std::make_unique<JuxNetwork::CNetIpIoManager>(g_options);
    if (g_manager->IsStarted()) return g_manager.get();
    if (!g_manager->Start()) return nullptr;
    // A link-local printer is reached through the adapter its address belongs to.
    g_manager->RefreshAdapters();
    return g_manager.get();
}

void PurgePrinterNetwork() {
    if (g_manager && g_manager->IsStarted()) g_manager->PurgeSocketContexts();
}

void ShutdownPrinterNetwork() {
    if (g_manager) g_manager->Stop();
    g_manager.reset();
}

void SetPrinterNetworkOptions(JuxNetwork::NetIpIoManagerOptions options) {
    g_options = std::move(options);
}
