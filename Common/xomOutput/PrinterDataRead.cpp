#include "Common/xomOutput/PrinterDataRead.h"

#include <memory>

#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/StringIds.h"
#include "Common/xomOutput/PrinterNetwork.h"
#include "platform/MessageService.h"

JuxNetwork::HRESULT ReadPrinterData(CXomMachine& printer) {
    PurgePrinterNetwork();
    if (printer.m_address.IsUnspecified()) {
        printer.m_printerData.reset();
        return JuxNetwork::kE_FAIL;
    }
    if (JuxNetwork::Failed(StartSnmpManager())) return JuxNetwork::kE_FAIL;
    JuxNetwork::CSnmpManager& manager = *PrinterNetwork();
    JuxNetwork::CSocketContext* context = manager.OpenAgentSocket(printer.m_address);
    if (context == nullptr) {
        xomplatform::ShowMessage(LocalizedString(IDS_NETWORK_UNAVAILABLE),
                                 LocalizedString(IDS_ERROR), xomplatform::MessageIcon::Stop);
        return JuxNetwork::kE_FAIL;
    }
    manager.SetCommunity(printer.m_community.empty() ? L"tamsel" : printer.m_community);
    if (!printer.m_printerData) printer.m_printerData = std::make_unique<CXomPrinterData>();
    const JuxNetwork::HRESULT hr = printer.m_printerData->ReadFromPrinter(manager, *context);
    context->Close();
    if (JuxNetwork::Failed(hr)) {
        // Never a half-read model: the plot and the dialogs see all of it or none.
        printer.m_printerData.reset();
        return hr;
    }
    printer.m_sysDescription = printer.m_printerData->m_sysDescription;
    printer.m_sysName = printer.m_printerData->m_sysName;
    printer.m_physicalAddress = printer.m_printerData->m_physicalAddress;
    return JuxNetwork::kS_OK;
}

int ReadPrinterDataWakingIt(CXomMachine& printer, int maxReads) {
    int reads = 0;
    while (reads < maxReads) {
        ++reads;
        if (JuxNetwork::Succeeded(ReadPrinterData(printer)) || reads == maxReads) break;
        JuxNetwork::CSnmpManager* manager = PrinterNetwork();
        if (printer.m_physicalAddress.empty() || manager == nullptr ||
            !manager->WakePrinter(printer.m_physicalAddress))
            break;
    }
    return reads;
}
