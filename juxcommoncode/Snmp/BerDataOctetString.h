#pragma once
// CBerDataOctetString: an octet string; the octets are the value. Texts are carried as UTF-8.
#include <string>

#include "juxcommoncode/Snmp/BerCodedData.h"

namespace JuxNetwork {

class CBerDataOctetString : public CBerCodedData {
  public:
    // The octets up to the first zero octet, read as UTF-8 (ill-formed sequences show as U+FFFD).
    std::wstring ToText() const override;
    // The text as UTF-8, without a terminating zero, becomes the octets.
    void SetFromText(const std::wstring& text);
};

}  // namespace JuxNetwork
