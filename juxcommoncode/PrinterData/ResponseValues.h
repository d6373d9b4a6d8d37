#pragma once
// Typed values of a response's varbinds, taken by position. Every printer table and the printer's
// own values are answered in the order they were asked for, so a row is read by where its column
// stands; a missing varbind or one of another type fails that value.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace JuxNetwork {
class CSnmpMessage;
class CBerTripleWithData;
}  // namespace JuxNetwork

using OctetArray = std::vector<std::uint8_t>;

class CResponseValues {
  public:
    explicit CResponseValues(const JuxNetwork::CSnmpMessage& response) : m_response(response) {}

    std::size_t Count() const;
    // The value at position (from 0) when it is there with that tag; null otherwise.
    const JuxNetwork::CBerTripleWithData* At(std::size_t position, std::uint8_t tag) const;

    // UInteger32 (the index columns).
    bool Unsigned(std::size_t position, std::uint32_t& out) const;
    // Integer32; an integer without content octets reads 0.
    bool Integer(std::size_t position, std::int32_t& out) const;
    // An octet string as UTF-8 text (up to its first zero octet).
    bool Text(std::size_t position, std::wstring& out) const;
    // An octet string's octets as received.
    bool Octets(std::size_t position, OctetArray& out) const;

  private:
    const JuxNetwork::CSnmpMessage& m_response;
};

// Appends one varbind per column, named base + column + suffix (".1" + ".3" ...).
void AddColumnVarbinds(JuxNetwork::CSnmpMessage& message, const std::wstring& base,
                       std::initializer_list<const wchar_t*> columns, const std::wstring& suffix);
