#pragma once
// CBerDataObjIdString: an object identifier as its arcs (1.3.6.1.2.1.1.5.0).
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/Snmp/BerCodedData.h"

namespace JuxNetwork {

class CBerDataObjIdString : public CBerCodedData {
  public:
    // Arcs 1, 3 are written as the single octet 0x2B; no other pair of first arcs is combined, so
    // 2.5.4 is written 02 05 04 and reads back as 2.5.4. Every other arc is base 128, most
    // significant group first, the top bit set on all octets but the last.
    void Encode() override;
    // A first octet 0x2B gives the arcs 1, 3; otherwise every sub-identifier is one arc. A
    // sub-identifier cut short by the end of the octets is dropped; one longer than 32 bits keeps
    // its low 32 bits.
    void Decode() override;
    // The arcs joined by "." ("" for none).
    std::wstring ToText() const override;

    // Tokens of the text as arcs (see SplitBerNumberText), then Encode().
    void SetFromText(const std::wstring& text);
    void SetArcs(std::vector<std::uint32_t> arcs);
    const std::vector<std::uint32_t>& GetArcs() const { return m_arcs; }

  private:
    std::vector<std::uint32_t> m_arcs;
};

}  // namespace JuxNetwork
