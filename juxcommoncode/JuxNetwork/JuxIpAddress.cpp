#include "juxcommoncode/JuxNetwork/JuxIpAddress.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

namespace JuxNetwork {

namespace {

thread_local std::wstring t_lastTrace;

bool ParseUnsigned(std::string_view text, std::uint32_t max, std::uint32_t& out) {
    if (text.empty() || text.size() > 10) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && out <= max;
}

bool ParseIpv4(std::string_view text, JUX_IP_ADDRESS& out) {
    std::uint32_t port = 0, prefix = 0;
    const std::size_t colon = text.find(':');
    const std::size_t slash = text.find('/');
    if (colon != std::string_view::npos && slash != std::string_view::npos) return false;
    std::string_view host = text;
    if (colon != std::string_view::npos) {
        if (!ParseUnsigned(text.substr(colon + 1), 65535, port)) return false;
        host = text.substr(0, colon);
    } else if (slash != std::string_view::npos) {
        if (!ParseUnsigned(text.substr(slash + 1), 32, prefix)) return false;
        host = text.substr(0, slash);
    }
    in_addr a{};
    if (inet_pton(AF_INET, std::string(host).c_str(), &a) != 1) return false;
    out.family = JUX_IP_ADDRESS::kFamilyIpv4;
    out.SetPort(static_cast<std::uint16_t>(port));
    std::memcpy(out.Ipv4(), &a, 4);
    return true;
}

bool ParseIpv6(std::string_view text, JUX_IP_ADDRESS& out) {
    std::uint32_t port = 0, scope = 0, prefix = 0;
    std::string_view host = text;
    if (!host.empty() && host.front() == '[') {
        const std::size_t close = host.find(']');
        if (close == std::string_view::npos) return false;
        const std::string_view rest = host.substr(close + 1);
        host = host.substr(1, close - 1);
        if (!rest.empty()) {
            if (rest.front() != ':' || !ParseUnsigned(rest.substr(1), 65535, port)) return false;
        }
    } else if (const std::size_t slash = host.find('/'); slash != std::string_view::npos) {
        if (!ParseUnsigned(host.substr(slash + 1), 128, prefix)) return false;
        host = host.substr(0, slash);
    }
    if (const std::size_t percent = host.find('%'); percent != std::string_view::npos) {
        if (!ParseUnsigned(host.substr(percent + 1), 0xFFFFFFFFu, scope)) return false;
        host = host.substr(0, percent);
    }
    in6_addr a{};
    if (inet_pton(AF_INET6, std::string(host).c_str(), &a) != 1) return false;
    out.family = JUX_IP_ADDRESS::kFamilyIpv6;
    out.SetPort(static_cast<std::uint16_t>(port));
    std::memcpy(out.Ipv6(), &a, 16);
    out.SetScopeId(scope);
    return true;
}

}  // namespace

const std::wstring& LastIpAddressParseTrace() {
    return t_lastTrace;
}

std::uint16_t JUX_IP_ADDRESS::Port() const {
    return ntohs(portNetworkOrder);
}

void JUX_IP_ADDRESS::SetPort(std::uint16_t port) {
    portNetworkOrder = htons(port);
}

std::size_t JUX_IP_ADDRESS::AddressLength() const {
    return family == kFamilyIpv4 ? 16 : family == kFamilyIpv6 ? 28 : 0;
}

std::uint32_t JUX_IP_ADDRESS::ScopeId() const {
    std::uint32_t scope = 0;
    std::memcpy(&scope, body + 20, sizeof scope);
    return scope;
}

void JUX_IP_ADDRESS::SetScopeId(std::uint32_t scope) {
    std::memcpy(body + 20, &scope, sizeof scope);
}

bool JUX_IP_ADDRESS::operator==(const JUX_IP_ADDRESS& o) const {
    return family == o.family && portNetworkOrder == o.portNetworkOrder &&
           std::memcmp(body, o.body, sizeof body) == 0;
}

bool JUX_IP_ADDRESS::Set(const std::wstring& text) {
    Clear();
    t_lastTrace.clear();
    // Address texts are ASCII; anything else cannot be an address.
    std::string narrow;
    bool ascii = !text.empty();
    for (wchar_t c : text) {
        if (c <= 0x20 || c > 0x7E) {
            ascii = false;
            break;
        }
        narrow += static_cast<char>(c);
    }
    JUX_IP_ADDRESS parsed;
    const bool ok = ascii && (narrow.find('.') != std::string::npos &&
                                      narrow.find_first_of("[%") == std::string::npos &&
                                      std::count(narrow.begin(), narrow.end(), ':') <= 1
                                  ? ParseIpv4(narrow, parsed)
                                  : ParseIpv6(narrow, parsed));
    if (!ok) {
        t_lastTrace = L"JUX_IP_ADDRESS::Set() ParseNetworkString failed: " + text;
        return false;
    }
    *this = parsed;
    return true;
}

bool JUX_IP_ADDRESS::IsUnspecified() const {
    static const std::uint8_t zero[16] = {};
    if (family == kFamilyIpv4) return std::memcmp(Ipv4(), zero, 4) == 0;
    if (family == kFamilyIpv6) return std::memcmp(Ipv6(), zero, 16) == 0;
    return true;
}

bool JUX_IP_ADDRESS::IsLinkLocal() const {
    return family == kFamilyIpv6 && Ipv6()[0] == 0xFE && Ipv6()[1] == 0x80;
}

std::wstring JUX_IP_ADDRESS::ToText() const {
    char buffer[INET6_ADDRSTRLEN] = {};
    std::string text;
    if (family == kFamilyIpv4) {
        if (IsUnspecified()) return {};
        inet_ntop(AF_INET, Ipv4(), buffer, sizeof buffer);
        text = buffer;
        if (Port() != 0) text += ":" + std::to_string(Port());
    } else if (family == kFamilyIpv6) {
        if (IsUnspecified()) return {};
        inet_ntop(AF_INET6, Ipv6(), buffer, sizeof buffer);
        std::string text6 = buffer;
        if (ScopeId() != 0) text6 += "%" + std::to_string(ScopeId());
        text = Port() != 0 ? "[" + text6 + "]:" + std::to_string(Port()) : text6;
    }
    return std::wstring(text.begin(), text.end());
}

std::wstring JUX_IP_ADDRESS::ToAddressText() const {
    std::wstring text = ToText();
    if (family == kFamilyIpv6) {
        if (!text.empty() && text.front() == L'[') text.erase(0, 1);
        text = text.substr(0, text.find(L']'));
        text = text.substr(0, text.find(L'%'));
    } else {
        text = text.substr(0, text.find(L':'));
    }
    return text;
}

}  // namespace JuxNetwork
