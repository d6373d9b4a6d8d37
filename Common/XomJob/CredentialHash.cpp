#include "Common/XomJob/CredentialHash.h"
#include "Common/XomJob/XmlEscape.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// A Base64 token longer than this is not put into a ticket.
constexpr std::size_t kMaxTokenLength = 100;

}  // namespace

bool HashSaltAndData(const std::uint8_t* salt, std::size_t saltLength, const std::uint8_t* data,
                     std::size_t dataLength, std::uint8_t* out) {
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha512(), nullptr) != 1) return false;
    if (saltLength != 0 && EVP_DigestUpdate(ctx.get(), salt, saltLength) != 1) return false;
    if (dataLength != 0 && EVP_DigestUpdate(ctx.get(), data, dataLength) != 1) return false;
    unsigned size = 0;
    std::uint8_t digest[EVP_MAX_MD_SIZE];
    if (EVP_DigestFinal_ex(ctx.get(), digest, &size) != 1 || size != kCredentialHashSize)
        return false;
    std::memcpy(out, digest, size);
    return true;
}

std::vector<std::uint8_t> PasswordBytes(const std::wstring& password) {
    const std::u16string units = ToUtf16Units(password);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFFU));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8U));
    }
    return bytes;
}

bool ComputeCredentialHash(const std::wstring& password, const OctetArray& printerSalt,
                           const OctetArray& entrySalt, std::uint8_t (&out)[kCredentialHashSize]) {
    if (entrySalt.size() != kCredentialSaltSize) return false;
    const std::vector<std::uint8_t> data = PasswordBytes(password);
    std::uint8_t inner[kCredentialHashSize];
    if (!HashSaltAndData(entrySalt.data(), entrySalt.size(), data.data(), data.size(), inner))
        return false;
    if (printerSalt.size() != kCredentialSaltSize) return false;
    return HashSaltAndData(printerSalt.data(), printerSalt.size(), inner, sizeof inner, out);
}

bool VerifyPassword(const std::wstring& password, const OctetArray& printerSalt,
                    const OctetArray& entryVerifySalt, const OctetArray& entryStoredHash) {
    std::uint8_t hash[kCredentialHashSize];
    if (entryStoredHash.size() < kCredentialHashSize) return false;
    if (!ComputeCredentialHash(password, printerSalt, entryVerifySalt, hash)) return false;
    return std::equal(hash, hash + kCredentialHashSize, entryStoredHash.begin());
}

std::string MakeToken(const std::wstring& password, const OctetArray& printerSalt,
                      const OctetArray& entryTokenSalt) {
    std::uint8_t hash[kCredentialHashSize];
    if (!ComputeCredentialHash(password, printerSalt, entryTokenSalt, hash)) return {};
    if (8 * kCredentialHashSize / 6 + 1 > kMaxTokenLength) return {};
    char text[4 * ((kCredentialHashSize + 2) / 3) + 1];
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text), hash, sizeof hash);
    if (length <= 0 || static_cast<std::size_t>(length) > kMaxTokenLength) return {};
    return std::string(text, static_cast<std::size_t>(length));
}

std::string MakeTokenLine(const std::wstring& name, const std::wstring& password,
                          const OctetArray& printerSalt,
                          const std::vector<CXomAccountingInformationChildEntry>& entries) {
    for (const auto& entry : entries) {
        if (entry.m_name != name) continue;
        const std::string token = MakeToken(password, printerSalt, entry.m_serverAuthSalt);
        return token.empty() ? std::string() : "      <Token>" + token + "</Token>\r\n";
    }
    return {};
}
