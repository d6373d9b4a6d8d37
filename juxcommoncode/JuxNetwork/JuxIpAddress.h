#pragma once
// JUX_IP_ADDRESS: one IPv4 or IPv6 socket address with port and scope, in the layout of the
// system's IPv6 socket address (28 octets): family, port in network order, then for IPv4 the four
// address octets, for IPv6 the flow information, sixteen address octets and the scope id.
#include <cstddef>
#include <cstdint>
#include <string>

namespace JuxNetwork {

struct JUX_IP_ADDRESS {
    static constexpr std::uint16_t kFamilyIpv4 = 2;
    static constexpr std::uint16_t kFamilyIpv6 = 23;

    std::uint16_t family = 0;
    std::uint16_t portNetworkOrder = 0;  // 0: no port given
    // IPv4: the four address octets, then zeros (the IPv4 socket address is the first 16 octets).
    // IPv6: flow information (4 octets), the sixteen address octets, the scope id (4 octets, zone
    // in the low 28 bits, level in the top 4).
    std::uint8_t body[24] = {};

    std::uint8_t* Ipv4() { return body; }
    const std::uint8_t* Ipv4() const { return body; }
    std::uint8_t* Ipv6() { return body + 4; }
    const std::uint8_t* Ipv6() const { return body + 4; }
    std::uint32_t ScopeId() const;
    void SetScopeId(std::uint32_t scope);

    // Parses an IPv4 or IPv6 address, with or without port, scope ("%n") or prefix ("/n"): the
    // forms 1.2.3.4, 1.2.3.4:9100, 10.0.0.0/8, fe80::1%3, [fe80::1%3]:9100, fd00::/64. Host names
    // are not accepted. On any failure the address becomes all zero (unspecified) and false is
    // returned; lastError() then holds the trace text.
    bool Set(const std::wstring& text);
    // True for 0.0.0.0, for sixteen zero IPv6 octets and for any other family.
    bool IsUnspecified() const;
    // True for an IPv6 address starting FE 80.
    bool IsLinkLocal() const;
    // IPv4 "a.b.c.d" plus ":port" when there is one (0.0.0.0 gives empty text); IPv6 the standard
    // text plus "%scope" when the scope is not 0, bracketed as "[...]:port" with a port; any other
    // family empty text.
    std::wstring ToText() const;
    // ToText() without port and scope.
    std::wstring ToAddressText() const;

    std::uint16_t Port() const;
    void SetPort(std::uint16_t port);
    // 16 for IPv4, 28 for IPv6, 0 otherwise.
    std::size_t AddressLength() const;
    void Clear() { *this = JUX_IP_ADDRESS{}; }

    bool operator==(const JUX_IP_ADDRESS& other) const;
};
static_assert(sizeof(JUX_IP_ADDRESS) == 28, "the address keeps the 28-octet socket address layout");

// The trace of the last failed Set() on this thread ("JUX_IP_ADDRESS::Set() ParseNetworkString
// failed: <text>"); empty when none failed.
const std::wstring& LastIpAddressParseTrace();

}  // namespace JuxNetwork
