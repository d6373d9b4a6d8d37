#include "tools/xomplot/ConfigLink.h"

#include <utility>
#include <vector>

#include "juxcommoncode/PrinterData/ResponseValues.h"
#include "juxcommoncode/Snmp/BerCodedData.h"
#include "juxcommoncode/Snmp/BerTags.h"
#include "platform/Utf8.h"
#include "tools/xomplot/ConfigCommands.h"
#include "tools/xomplot/PrinterConnection.h"

namespace xomplot {

int ConfigLink(const std::string& driverPath, const std::string& name, const std::string& address,
               const std::string& community, std::FILE* out, std::FILE* err) {
    PrinterConnection printer;
    if (const int status = printer.Open(address, community, err); status != 0) return status;
    JuxNetwork::CSnmpMessage request;
    request.SetCommunity(printer.community);
    request.SetPduType(JuxNetwork::kBerTagGetRequestPdu);
    for (const wchar_t* oid : {L"1.3.6.1.2.1.1.1.0", L"1.3.6.1.2.1.1.5.0", L"1.3.6.1.2.1.1.6.0",
                               L"1.3.6.1.2.1.2.2.1.6.1"})
        request.AddVarbind(oid);
    JuxNetwork::CSnmpMessage response;
    const JuxNetwork::HRESULT hr = printer.manager.SendRequest(*printer.context, request, response);
    const CResponseValues values(response);
    std::wstring description, sysName, location;
    OctetArray mac;
    if (JuxNetwork::Failed(hr) || !values.Text(0, description) || !values.Text(1, sysName)) {
        std::fprintf(err,
                     "xomplot: %s did not say who it is (no answer, or another community); "
                     "nothing stored\n",
                     address.c_str());
        return 1;
    }
    values.Text(2, location);
    values.Octets(3, mac);
    const std::vector<std::pair<std::string, std::string>> items = {
        {"MachineIpAddress", xomplatform::ToUtf8(printer.address.ToAddressText())},
        {"MachineName", xomplatform::ToUtf8(sysName)},
        {"MachineDescription", xomplatform::ToUtf8(description)},
        {"MachineLocation", xomplatform::ToUtf8(location)},
        {"MachineMacAddress", xomplatform::ToUtf8(JuxNetwork::FormatMacAddress(mac))},
        {"MachineSnmpCommunity", xomplatform::ToUtf8(printer.community)}};
    return ConfigSetItems(driverPath, name, items, out, err);
}

}  // namespace xomplot
