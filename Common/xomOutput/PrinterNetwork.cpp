#include "Common/xomOutput/PrinterNetwork.h"

#include <chrono>
#include <cstdlib>
#include <memory>

#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/StringIds.h"
#include "platform/MessageService.h"

namespace {

std::unique_ptr<JuxNetwork::CSnmpManager> g_manager;
JuxNetwork::NetIpIoManagerOptions g_options;
JuxNetwork::SnmpManagerOptions g_snmp;

// A whole number from lo to hi in the environment variable, else fallback.
long FromEnvironment(const char* name, long lo, long hi, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= lo && value <= hi ? value : fallback;
}

// The wait for each answer and the tries of each request, for networks slower or faster than
// the defaults assume (a printer's wake-up reads take tries x wait each).
JuxNetwork::SnmpManagerOptions WithEnvironment(JuxNetwork::SnmpManagerOptions snmp) {
    snmp.responseTimeout = std::chrono::milliseconds(FromEnvironment(
        "XOM_SNMP_TIMEOUT_MS", 1, 60000, static_cast<long>(snmp.responseTimeout.count())));
    snmp.tries = static_cast<int>(FromEnvironment("XOM_SNMP_TRIES", 1, 100, snmp.tries));
    return snmp;
}

}  // namespace

JuxNetwork::CSnmpManager* PrinterNetwork() {
    if (!g_manager)
        g_manager = std::make_unique<JuxNetwork::CSnmpManager>(g_options, WithEnvironment(g_snmp));
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
