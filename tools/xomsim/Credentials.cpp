#include "tools/xomsim/Credentials.h"

#include <openssl/evp.h>

#include <string>

#include "platform/Utf8.h"

namespace xomsim {

Bytes Sha512(const Bytes& data) {
    Bytes digest(EVP_MAX_MD_SIZE);
    unsigned int size = 0;
    if (EVP_Digest(data.data(), data.size(), digest.data(), &size, EVP_sha512(), nullptr) != 1)
        return {};
    digest.resize(size);
    return digest;
}

Bytes DeriveSalt(std::uint64_t seed, const std::string& label) {
    const std::string text = "xomsim salt " + std::to_string(seed) + " " + label;
    return Sha512(Bytes(text.begin(), text.end()));
}

Bytes Utf16Le(const std::string& utf8) {
    Bytes out;
    const auto put = [&out](std::uint32_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (const wchar_t ch : xomplatform::FromUtf8(utf8)) {
        const auto code = static_cast<std::uint32_t>(std::char_traits<wchar_t>::to_int_type(ch));
        if (code > 0xFFFF) {
            put(0xD800 + ((code - 0x10000) >> 10));
            put(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put(code);
        }
    }
    return out;
}

Bytes CredentialHash(const std::string& password, const Bytes& printerSalt,
                     const Bytes& entrySalt) {
    if (printerSalt.size() != kSaltSize || entrySalt.size() != kSaltSize) return {};
    Bytes inner = entrySalt;
    const Bytes units = Utf16Le(password);
    inner.insert(inner.end(), units.begin(), units.end());
    Bytes outer = printerSalt;
    const Bytes innerHash = Sha512(inner);
    if (innerHash.empty()) return {};
    outer.insert(outer.end(), innerHash.begin(), innerHash.end());
    return Sha512(outer);
}

std::string Base64(const Bytes& data) {
    std::string text(4 * ((data.size() + 2) / 3) + 1, '\0');
    const int size = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), data.data(),
                                     static_cast<int>(data.size()));
    text.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return text;
}

}  // namespace xomsim
