#pragma once
// CBerDataIpAddressString: an IPv4 address, held as its dotted text (192.168.1.20).
#include <string>

#include "juxcommoncode/Snmp/BerCodedData.h"

namespace JuxNetwork {

class CBerDataIpAddressString : public CBerCodedData {
  public:
    // One octet per number of the text (see SplitBerNumberText), each capped at 255. The count is
    // not checked: the text decides how many octets there are.
    void Encode() override;
    // The text rebuilt from the octets: each as a decimal number, joined by ".".
    void Decode() override;
    // The text decoded afresh from the octets.
    std::wstring ToText() const override;

    // Stores the text, then Encode().
    void SetFromText(const std::wstring& text);
    const std::wstring& GetText() const { return m_text; }

  private:
    std::wstring m_text;
};

}  // namespace JuxNetwork
