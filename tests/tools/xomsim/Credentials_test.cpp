#include "tools/xomsim/Credentials.h"

#include <gtest/gtest.h>
#include <openssl/sha.h>

namespace xomsim {
namespace {

Bytes Filled(std::size_t size, std::uint8_t first) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(first + i);
    return out;
}

// The recipe written out once more with OpenSSL's one-shot SHA512, from hand-made UTF-16LE bytes.
Bytes HandHash(const Bytes& printerSalt, const Bytes& entrySalt, const Bytes& passwordUtf16) {
    Bytes inner = entrySalt;
    inner.insert(inner.end(), passwordUtf16.begin(), passwordUtf16.end());
    unsigned char innerHash[SHA512_DIGEST_LENGTH];
    SHA512(inner.data(), inner.size(), innerHash);
    Bytes outer = printerSalt;
    outer.insert(outer.end(), innerHash, innerHash + SHA512_DIGEST_LENGTH);
    unsigned char result[SHA512_DIGEST_LENGTH];
    SHA512(outer.data(), outer.size(), result);
    return Bytes(result, result + SHA512_DIGEST_LENGTH);
}

TEST(Credentials, HashFollowsTheRecipeWithUtf16LittleEndianPasswords) {
    const Bytes printerSalt = Filled(64, 0x10);
    const Bytes entrySalt = Filled(64, 0x80);
    // "Zü" and U+1F600: one unit, one unit above ASCII, one surrogate pair.
    const Bytes units = {'Z', 0x00, 0xFC, 0x00, 0x3D, 0xD8, 0x00, 0xDE};
    EXPECT_EQ(Utf16Le("Z\xC3\xBC\xF0\x9F\x98\x80"), units);
    const Bytes hash = CredentialHash("Z\xC3\xBC\xF0\x9F\x98\x80", printerSalt, entrySalt);
    ASSERT_EQ(hash.size(), 64u);
    EXPECT_EQ(hash, HandHash(printerSalt, entrySalt, units));
    // The salts are not interchangeable, and the empty password hashes the entry salt alone.
    EXPECT_NE(CredentialHash("Z\xC3\xBC\xF0\x9F\x98\x80", entrySalt, printerSalt), hash);
    EXPECT_EQ(CredentialHash("", printerSalt, entrySalt), HandHash(printerSalt, entrySalt, {}));
}

TEST(Credentials, SaltsOfAnotherSizeGiveNoHash) {
    EXPECT_TRUE(CredentialHash("pw", Filled(63, 0), Filled(64, 0)).empty());
    EXPECT_TRUE(CredentialHash("pw", Filled(64, 0), Filled(65, 0)).empty());
    EXPECT_TRUE(CredentialHash("pw", {}, Filled(64, 0)).empty());
}

TEST(Credentials, DerivedSaltsRepeatPerSeedAndLabelOnly) {
    EXPECT_EQ(DeriveSalt(1, "user token alice").size(), kSaltSize);
    EXPECT_EQ(DeriveSalt(1, "user token alice"), DeriveSalt(1, "user token alice"));
    EXPECT_NE(DeriveSalt(1, "user token alice"), DeriveSalt(2, "user token alice"));
    EXPECT_NE(DeriveSalt(1, "user token alice"), DeriveSalt(1, "user verify alice"));
}

TEST(Credentials, Base64IsStandardWithPaddingAndNoLineBreaks) {
    EXPECT_EQ(Base64({}), "");
    EXPECT_EQ(Base64({'f'}), "Zg==");
    EXPECT_EQ(Base64({'f', 'o'}), "Zm8=");
    EXPECT_EQ(Base64({0xFB, 0xFF, 0xBF}), "+/+/");
    const std::string token = Base64(Filled(64, 0));
    EXPECT_EQ(token.size(), 88u);
    EXPECT_EQ(token.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace xomsim
