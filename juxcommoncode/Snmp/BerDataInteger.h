#pragma once
// The integer values of SNMP: Integer32 (signed), the unsigned Counter32, Gauge32 and UInteger32,
// and TimeTicks (unsigned hundredths of a second).
#include <cstdint>
#include <string>

#include "juxcommoncode/Snmp/BerCodedData.h"

namespace JuxNetwork {

// Signed 32-bit integer in two's complement. Encoding: the fewest octets that hold the 32-bit
// pattern (0 takes one octet), with a 0x00 prepended when a positive value's first octet has its
// top bit set; a negative value always takes four octets (-1 gives FF FF FF FF), which every
// decoder reads back correctly. Decoding sign-extends from the first octet, so the minimal forms
// that agents send (-42 as D6) read as negative; beyond four octets only the last four count.
class CBerDataInteger32 : public CBerCodedData {
  public:
    // The encoding of the value 0; a subclass cannot exist yet, so this class's Encode is meant.
    CBerDataInteger32() { CBerDataInteger32::Encode(); }
    void Encode() override;
    void Decode() override;
    std::wstring ToText() const override;  // "%d"

    std::int32_t GetValue() const { return m_value; }
    void SetValue(std::int32_t value) {
        m_value = value;
        Encode();
    }

  private:
    std::int32_t m_value = 0;
};

// Unsigned 32-bit value (Counter32, Gauge32, UInteger32). Encoding: the significant octets (one at
// least), most significant first, with a 0x00 prepended when the first one has its top bit set:
// these types are non-negative INTEGERs, and without it a peer reads 200 (C8) as -56. Decoding
// accumulates every octet unsigned; beyond four octets only the last four count.
class CBerDataUnInteger32 : public CBerCodedData {
  public:
    CBerDataUnInteger32() { CBerDataUnInteger32::Encode(); }
    void Encode() override;
    void Decode() override;
    std::wstring ToText() const override;  // "%u"

    std::uint32_t GetValue() const { return m_value; }
    void SetValue(std::uint32_t value) {
        m_value = value;
        Encode();
    }

  private:
    std::uint32_t m_value = 0;
};

// Hundredths of a second since an event; coded as the unsigned integer.
class CBerDataTimeTicks : public CBerDataUnInteger32 {
  public:
    // "%u  %u:%02u:%02u.%02u": the raw value, two blanks, hours:minutes:seconds.hundredths.
    std::wstring ToText() const override;
};

}  // namespace JuxNetwork
