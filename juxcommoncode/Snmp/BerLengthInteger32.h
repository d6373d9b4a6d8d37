#pragma once
// CBerLengthInteger32: the length octets of an element and the length they give.
#include <cstdint>
#include <string>

#include "juxcommoncode/Snmp/BerCodedData.h"

namespace JuxNetwork {

class CBerLengthInteger32 : public CBerCodedData {
  public:
    // Below 128: one octet. Otherwise 0x80 + n, then the n significant octets, most significant
    // first (128 gives 81 80, 300 gives 82 01 2C).
    void Encode() override;
    // No octets: 0; one octet: its value; more: the octets after the first, most significant
    // first (only the last four count; FitsIn32Bits() tells whether more were significant).
    void Decode() override;
    std::wstring ToText() const override;  // "%u"
    // Storing: the length octets, one WriteBytes per octet. Loading: one octet, and when its top
    // bit is set, the number of further octets its low seven bits give; then Decode(). The
    // content length argument is not used.
    HRESULT Serialize(CJuxSerializer& serializer, std::uint16_t contentLength) override;

    std::uint32_t GetValue() const { return m_value; }
    void SetValue(std::uint32_t value) {
        m_value = value;
        Encode();
    }
    // The single octet 0x80: the indefinite form, which SNMP does not allow.
    bool IsIndefinite() const { return m_octets.size() == 1 && m_octets[0] == 0x80; }
    // False when the long form carried significant octets beyond the last four.
    bool FitsIn32Bits() const;

    // Number of length octets that a content length needs (1 to 5).
    static std::uint32_t OctetCountFor(std::uint32_t length);

  private:
    std::uint32_t m_value = 0;
};

}  // namespace JuxNetwork
