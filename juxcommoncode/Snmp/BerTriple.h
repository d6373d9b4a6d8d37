#pragma once
// The tag-length-value elements: CBerTripleBase writes or reads one complete element (tag octet,
// length octets, content) through a serializer; CBerTripleWithData holds a primitive value;
// CBerTripleObjId is an element that must be an object identifier.
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "juxcommoncode/JuxSerialize/JuxSerializer.h"
#include "juxcommoncode/Snmp/BerCodedData.h"
#include "juxcommoncode/Snmp/BerTags.h"

namespace JuxNetwork {

class CBerTripleBase {
  public:
    explicit CBerTripleBase(std::uint8_t tag) : m_tag(tag) {}
    virtual ~CBerTripleBase() = default;
    CBerTripleBase(const CBerTripleBase&) = delete;
    CBerTripleBase& operator=(const CBerTripleBase&) = delete;

    virtual std::uint32_t GetContentLength() const = 0;
    // Writes the element when the serializer is storing, reads it otherwise. Returns the
    // serializer's result code (0 = success); on failure the serializer holds the error text and
    // the element keeps what it had read.
    virtual HRESULT Serialize(CJuxSerializer& serializer) = 0;

    // Tag octet + length octets + content octets.
    std::uint32_t GetEncodedLength() const;

    std::uint8_t GetTag() const { return m_tag; }
    void SetTag(std::uint8_t tag) { m_tag = tag; }

    // Reading only: the serializer position that the element's content must not pass (the end of
    // the enclosing element, or of the datagram for a whole message). Unlimited by default;
    // enclosing elements set it for their members before reading them. It stays set until
    // changed, so whoever reuses a message for another datagram sets it again.
    void SetReadLimit(std::uint64_t endPosition) { m_readLimit = endPosition; }
    std::uint64_t GetReadLimit() const { return m_readLimit; }
    static constexpr std::uint64_t kNoReadLimit = std::numeric_limits<std::uint64_t>::max();

  protected:
    HRESULT SerializeTag(CJuxSerializer& serializer);
    // Storing: writes GetContentLength() as length octets and returns it in length. Loading: reads
    // the length octets into length and refuses, with kBerErrorInvalidArg, the indefinite form, a
    // length above kBerMaxContentLength and a length that runs past the read limit.
    HRESULT SerializeLength(CJuxSerializer& serializer, std::uint32_t& length);
    // Sets a structural error (kBerErrorInvalidArg) on the serializer: the text is prefix followed
    // by BerTypeName(tag). Returns the code.
    static HRESULT FailWithType(CJuxSerializer& serializer, const wchar_t* prefix,
                                std::uint8_t tag);
    // The content end of an element whose content starts at the serializer's read position.
    static std::uint64_t ContentEnd(CJuxSerializer& serializer, std::uint32_t length);
    // Reading a constructed element: its members must fill its content exactly. Octets left over
    // would be read as the next element (a varbind hiding another one), so they fail the read
    // with kBerErrorInvalidArg ("Error: N octets left over at the end of <type>").
    HRESULT CheckContentEnd(CJuxSerializer& serializer, std::uint64_t end) const;

    std::uint8_t m_tag;
    std::uint64_t m_readLimit = kNoReadLimit;
};

class CBerTripleWithData : public CBerTripleBase {
  public:
    // The element with this tag and the value object CreateData() gives for it.
    explicit CBerTripleWithData(std::uint8_t tag);

    std::uint32_t GetContentLength() const override;
    // Tag, length, then the value's content. A Null element (no value object) reads no value; any
    // content octets it carries are skipped so that the elements after it stay aligned.
    HRESULT Serialize(CJuxSerializer& serializer) override;
    // Takes the other's tag, CreateData(), then a copy of the other's octets when both have a
    // value.
    virtual void CopyFrom(const CBerTripleWithData& other);

    // Replaces the value object by a new one of the class the tag calls for: Integer32 (holding 0,
    // coded 00), OctetString, ObjId, IpAddress, Counter32/Gauge32/UInteger32, TimeTicks, none for
    // Null, plain CBerCodedData (raw octets) for any other tag.
    void CreateData();

    CBerCodedData* GetData() { return m_data.get(); }
    const CBerCodedData* GetData() const { return m_data.get(); }
    // The value as the given class, or null when it is absent or of another class.
    template <class T>
    T* GetDataAs() {
        return dynamic_cast<T*>(m_data.get());
    }
    template <class T>
    const T* GetDataAs() const {
        return dynamic_cast<const T*>(m_data.get());
    }

    // The value's text form; empty for Null.
    std::wstring ValueText() const;

    // Shorthands that set tag and value together.
    void SetNull();
    void SetInteger32(std::int32_t value);
    // tag: Counter32, Gauge32, UInteger32 or TimeTicks.
    void SetUnsigned32(std::uint8_t tag, std::uint32_t value);
    void SetOctetString(BerOctets octets);
    void SetOctetStringText(const std::wstring& text);
    void SetObjId(const std::wstring& text);
    void SetIpAddress(const std::wstring& text);

  private:
    std::unique_ptr<CBerCodedData> m_data;
};

class CBerTripleObjId : public CBerTripleWithData {
  public:
    // An empty identifier.
    CBerTripleObjId() : CBerTripleWithData(kBerTagObjId) {}
    // Reads like any element, then fails with kBerErrorInvalidArg ("Error retrieving object:
    // Expecting ObjID, received: %s") when the tag read is not ObjId. Earlier errors come first.
    HRESULT Serialize(CJuxSerializer& serializer) override;
    // Another element that is not an identifier gives an empty identifier under this element's tag.
    void CopyFrom(const CBerTripleWithData& other) override;
    // The identifier's text ("" when there is none).
    std::wstring ToText() const { return ValueText(); }
    void SetFromText(const std::wstring& text) { SetObjId(text); }
};

}  // namespace JuxNetwork
