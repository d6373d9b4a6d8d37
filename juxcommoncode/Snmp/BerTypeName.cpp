#include "juxcommoncode/Snmp/BerTags.h"

#include <cwchar>

namespace JuxNetwork {

std::wstring BerTypeName(std::uint8_t tag) {
    switch (tag) {
        case kBerTagInteger32:
            return L"Integer32";
        case kBerTagOctetString:
            return L"OctetString";
        case kBerTagNull:
            return L"Null";
        case kBerTagObjId:
            return L"ObjId";
        case kBerTagSequence:
            return L"Sequence";
        case kBerTagIpAddress:
            return L"IpAddress";
        case kBerTagCounter32:
            return L"Counter32";
        case kBerTagGauge32:
            return L"Gauge32";
        case kBerTagTimeTicks:
            return L"TimeTicks";
        case kBerTagUInteger32:
            return L"UInteger32";
        case kBerTagGetRequestPdu:
            return L"GetRequestPDU";
        case kBerTagGetNextRequestPdu:
            return L"GetNextRequestPDU";
        case kBerTagGetResponsePdu:
            return L"GetResponsePDU";
        case kBerTagSetRequestPdu:
            return L"SetRequestPDU";
        default:
            break;
    }
    wchar_t text[40];
    std::swprintf(text, sizeof text / sizeof text[0], L"Type x%02x (not recognized)",
                  static_cast<unsigned>(tag));
    return text;
}

}  // namespace JuxNetwork
