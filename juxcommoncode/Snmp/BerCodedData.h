#pragma once
// CBerCodedData: the content octets of one primitive BER value (never its tag or length octets).
// Derived classes add the decoded value and keep octets and value in step: after Encode(),
// Decode(), a setter or a successful read both describe the same value. The plain class holds the
// raw octets of a tag the driver does not recognise.
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/JuxSerialize/JuxSerializer.h"

namespace JuxNetwork {

using BerOctets = std::vector<std::uint8_t>;

class CBerCodedData {
  public:
    CBerCodedData() = default;
    virtual ~CBerCodedData() = default;
    CBerCodedData(const CBerCodedData&) = delete;
    CBerCodedData& operator=(const CBerCodedData&) = delete;

    // Rebuilds the octets from the value. Nothing to do for raw octets.
    virtual void Encode() {}
    // Rebuilds the value from the octets. Nothing to do for raw octets.
    virtual void Decode() {}
    // Raw octets: FormatOctetDump of them.
    virtual std::wstring ToText() const;
    // Storing: writes all octets (contentLength is not consulted). Loading: reads exactly
    // contentLength octets in one ReadBytes, then Decode(). Returns the serializer's result code;
    // on a failed read the octets hold what the buffer could give.
    virtual HRESULT Serialize(CJuxSerializer& serializer, std::uint16_t contentLength);
    // Takes a copy of the other's octets, then Decode().
    virtual void CopyFrom(const CBerCodedData& other);

    const BerOctets& GetOctets() const { return m_octets; }
    // Replaces the octets and decodes them.
    void SetOctets(BerOctets octets);
    std::uint32_t GetOctetCount() const { return static_cast<std::uint32_t>(m_octets.size()); }

  protected:
    BerOctets m_octets;
};

// "%u bytes: " with the count, then "%02x " for each octet: "3 bytes: 0a 0b 0c ".
std::wstring FormatOctetDump(const BerOctets& octets);
// Upper-case hex pairs joined by hyphens: "00-1A-2B-3C-4D-5E"; empty for no octets.
std::wstring FormatMacAddress(const BerOctets& octets);

}  // namespace JuxNetwork
