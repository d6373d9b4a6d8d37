#include "juxcommoncode/Snmp/BerTriple.h"

#include <cwchar>

#include "juxcommoncode/Snmp/BerDataInteger.h"
#include "juxcommoncode/Snmp/BerDataIpAddressString.h"
#include "juxcommoncode/Snmp/BerDataObjIdString.h"
#include "juxcommoncode/Snmp/BerDataOctetString.h"
#include "juxcommoncode/Snmp/BerLengthInteger32.h"

namespace JuxNetwork {

// ---- CBerTripleBase -------------------------------------------------------------------------

std::uint32_t CBerTripleBase::GetEncodedLength() const {
    const std::uint32_t content = GetContentLength();
    return 1 + CBerLengthInteger32::OctetCountFor(content) + content;
}

HRESULT CBerTripleBase::SerializeTag(CJuxSerializer& serializer) {
    if (serializer.IsStoring()) return serializer.WriteBytes(&m_tag, 1);
    return serializer.ReadBytes(&m_tag, 1);
}

HRESULT CBerTripleBase::SerializeLength(CJuxSerializer& serializer, std::uint32_t& length) {
    CBerLengthInteger32 octets;
    if (serializer.IsStoring()) {
        length = GetContentLength();
        octets.SetValue(length);
        return octets.Serialize(serializer, 0);
    }
    length = 0;
    if (Failed(octets.Serialize(serializer, 0))) return serializer.GetResult();
    // A wrong length must stop the decode: taking it modulo 65,536 or reading past the element
    // would misread every element after it.
    if (octets.IsIndefinite()) {
        return FailWithType(serializer, L"Error: indefinite BER length is not allowed for ", m_tag);
    }
    if (!octets.FitsIn32Bits() || octets.GetValue() > kBerMaxContentLength) {
        return FailWithType(serializer, L"Error: BER length above 65535 octets for ", m_tag);
    }
    length = octets.GetValue();
    if (m_readLimit != kNoReadLimit) {
        const std::uint64_t position = serializer.GetPosition();
        if (position > m_readLimit || length > m_readLimit - position) {
            wchar_t text[160];
            std::swprintf(
                text, sizeof text / sizeof text[0],
                L"Error: BER length %u runs past the end of the data (%llu octets left) for ",
                length,
                static_cast<unsigned long long>(position > m_readLimit ? 0
                                                                       : m_readLimit - position));
            return FailWithType(serializer, text, m_tag);
        }
    }
    return serializer.GetResult();
}

HRESULT CBerTripleBase::FailWithType(CJuxSerializer& serializer, const wchar_t* prefix,
                                     std::uint8_t tag) {
    serializer.SetError(kBerErrorInvalidArg, prefix + BerTypeName(tag));
    return kBerErrorInvalidArg;
}

std::uint64_t CBerTripleBase::ContentEnd(CJuxSerializer& serializer, std::uint32_t length) {
    return serializer.GetPosition() + length;
}

HRESULT CBerTripleBase::CheckContentEnd(CJuxSerializer& serializer, std::uint64_t end) const {
    const std::uint64_t position = serializer.GetPosition();
    if (position >= end) return serializer.GetResult();  // members never read past their limit
    const std::uint64_t left = end - position;
    wchar_t text[96];
    std::swprintf(text, sizeof text / sizeof text[0], L"Error: %llu %ls left over at the end of ",
                  static_cast<unsigned long long>(left), left == 1 ? L"octet" : L"octets");
    return FailWithType(serializer, text, m_tag);
}

// ---- CBerTripleWithData ---------------------------------------------------------------------

CBerTripleWithData::CBerTripleWithData(std::uint8_t tag) : CBerTripleBase(tag) {
    CreateData();
}

std::uint32_t CBerTripleWithData::GetContentLength() const {
    return m_data ? m_data->GetOctetCount() : 0;
}

HRESULT CBerTripleWithData::Serialize(CJuxSerializer& serializer) {
    if (Failed(SerializeTag(serializer))) return serializer.GetResult();
    std::uint32_t length = 0;
    if (Failed(SerializeLength(serializer, length))) return serializer.GetResult();
    if (!serializer.IsStoring()) {
        CreateData();
        if (!m_data) {
            // Null: no value object. Skip content octets a sender may have put there anyway.
            std::uint8_t scratch[256];
            while (length > 0) {
                const std::uint32_t chunk = length < sizeof scratch ? length : sizeof scratch;
                if (Failed(serializer.ReadBytes(scratch, chunk))) break;
                length -= chunk;
            }
            return serializer.GetResult();
        }
    }
    if (!m_data) return serializer.GetResult();
    // SerializeLength refused anything above 65,535 on reading, so the count fits.
    return m_data->Serialize(serializer, static_cast<std::uint16_t>(length));
}

void CBerTripleWithData::CopyFrom(const CBerTripleWithData& other) {
    if (&other == this) return;
    m_tag = other.m_tag;
    CreateData();
    if (m_data && other.m_data) m_data->CopyFrom(*other.m_data);
}

void CBerTripleWithData::CreateData() {
    m_data.reset();
    switch (m_tag) {
        case kBerTagInteger32:
            m_data = std::make_unique<CBerDataInteger32>();
            break;
        case kBerTagOctetString:
            m_data = std::make_unique<CBerDataOctetString>();
            break;
        case kBerTagNull:
            break;
        case kBerTagObjId:
            m_data = std::make_unique<CBerDataObjIdString>();
            break;
        case kBerTagIpAddress:
            m_data = std::make_unique<CBerDataIpAddressString>();
            break;
        case kBerTagCounter32:
        case kBerTagGauge32:
        case kBerTagUInteger32:
            m_data = std::make_unique<CBerDataUnInteger32>();
            break;
        case kBerTagTimeTicks:
            m_data = std::make_unique<CBerDataTimeTicks>();
            break;
        default:
            m_data = std::make_unique<CBerCodedData>();
            break;
    }
}

std::wstring CBerTripleWithData::ValueText() const {
    return m_data ? m_data->ToText() : L"";
}

void CBerTripleWithData::SetNull() {
    m_tag = kBerTagNull;
    CreateData();
}

void CBerTripleWithData::SetInteger32(std::int32_t value) {
    m_tag = kBerTagInteger32;
    CreateData();
    GetDataAs<CBerDataInteger32>()->SetValue(value);
}

void CBerTripleWithData::SetUnsigned32(std::uint8_t tag, std::uint32_t value) {
    m_tag = tag;
    CreateData();
    if (auto* data = GetDataAs<CBerDataUnInteger32>()) data->SetValue(value);
}

void CBerTripleWithData::SetOctetString(BerOctets octets) {
    m_tag = kBerTagOctetString;
    CreateData();
    m_data->SetOctets(std::move(octets));
}

void CBerTripleWithData::SetOctetStringText(const std::wstring& text) {
    m_tag = kBerTagOctetString;
    CreateData();
    GetDataAs<CBerDataOctetString>()->SetFromText(text);
}

void CBerTripleWithData::SetObjId(const std::wstring& text) {
    m_tag = kBerTagObjId;
    CreateData();
    GetDataAs<CBerDataObjIdString>()->SetFromText(text);
}

void CBerTripleWithData::SetIpAddress(const std::wstring& text) {
    m_tag = kBerTagIpAddress;
    CreateData();
    GetDataAs<CBerDataIpAddressString>()->SetFromText(text);
}

// ---- CBerTripleObjId ------------------------------------------------------------------------

HRESULT CBerTripleObjId::Serialize(CJuxSerializer& serializer) {
    if (Failed(CBerTripleWithData::Serialize(serializer))) return serializer.GetResult();
    if (!serializer.IsStoring() && m_tag != kBerTagObjId) {
        return FailWithType(serializer, L"Error retrieving object: Expecting ObjID, received: ",
                            m_tag);
    }
    return serializer.GetResult();
}

void CBerTripleObjId::CopyFrom(const CBerTripleWithData& other) {
    if (other.GetTag() != kBerTagObjId) {
        CreateData();
        return;
    }
    CBerTripleWithData::CopyFrom(other);
}

}  // namespace JuxNetwork
