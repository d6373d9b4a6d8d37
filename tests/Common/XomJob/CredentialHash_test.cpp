#include "Common/XomJob/CredentialHash.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "CredentialHashTestSupport.h"

namespace {

TEST(CredentialHash, HashSaltAndDataIsSha512OfSaltThenData) {
    const OctetArray salt = TestSalt(0x11, 64);
    const std::vector<std::uint8_t> data = {'a', 0, 'b', 0};
    std::uint8_t out[64];
    ASSERT_TRUE(HashSaltAndData(salt.data(), salt.size(), data.data(), data.size(), out));
    OctetArray joined = salt;
    joined.insert(joined.end(), data.begin(), data.end());
    EXPECT_EQ(OctetArray(out, out + 64), OpensslSha512(joined));
}

TEST(CredentialHash, PasswordsHashAsUtf16LittleEndianUnits) {
    EXPECT_EQ(PasswordBytes(L"Ab"), (std::vector<std::uint8_t>{'A', 0, 'b', 0}));
    // U+00FC is one unit; U+1F600 a surrogate pair D83D DE00.
    EXPECT_EQ(PasswordBytes(L"\u00FC\U0001F600"),
              (std::vector<std::uint8_t>{0xFC, 0x00, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_TRUE(PasswordBytes(L"").empty());
}

// Independent vectors: the two SHA-512 steps done by the openssl command over byte files.
struct Vector {
    const wchar_t* password;
    std::vector<std::uint8_t> utf16le;
};

TEST(CredentialHash, CredentialHashMatchesOpensslForEmptyAsciiAndNonAsciiPasswords) {
    const OctetArray printerSalt = TestSalt(0xA0, 64);
    const OctetArray entrySalt = TestSalt(0x05, 64);
    const Vector vectors[] = {
        {L"", {}},
        {L"secret", {'s', 0, 'e', 0, 'c', 0, 'r', 0, 'e', 0, 't', 0}},
        {L"M\u00FCller\u20AC", {'M', 0, 0xFC, 0, 'l', 0, 'l', 0, 'e', 0, 'r', 0, 0xAC, 0x20}},
        {L"\U0001F600", {0x3D, 0xD8, 0x00, 0xDE}},
    };
    for (const Vector& v : vectors) {
        SCOPED_TRACE(testing::Message() << "password of " << v.utf16le.size() << " bytes");
        OctetArray inner = entrySalt;
        inner.insert(inner.end(), v.utf16le.begin(), v.utf16le.end());
        const OctetArray innerHash = OpensslSha512(inner);
        ASSERT_EQ(innerHash.size(), 64u);
        OctetArray outer = printerSalt;
        outer.insert(outer.end(), innerHash.begin(), innerHash.end());
        const OctetArray expected = OpensslSha512(outer);

        std::uint8_t got[64];
        ASSERT_TRUE(ComputeCredentialHash(v.password, printerSalt, entrySalt, got));
        EXPECT_EQ(OctetArray(got, got + 64), expected);
        EXPECT_TRUE(VerifyPassword(v.password, printerSalt, entrySalt, expected));
        // The token is the Base64 of the same hash (with the token salt): 88 characters.
        EXPECT_EQ(MakeToken(v.password, printerSalt, entrySalt), OpensslBase64(expected));
    }
}

TEST(CredentialHash, SaltsOfOtherThan64BytesGiveNoHashAndNoToken) {
    std::uint8_t out[64];
    EXPECT_FALSE(ComputeCredentialHash(L"pw", TestSalt(1, 64), TestSalt(2, 63), out));
    EXPECT_FALSE(ComputeCredentialHash(L"pw", TestSalt(1, 63), TestSalt(2, 64), out));
    EXPECT_FALSE(ComputeCredentialHash(L"pw", TestSalt(1, 65), TestSalt(2, 64), out));
    EXPECT_EQ(MakeToken(L"pw", TestSalt(1, 64), TestSalt(2, 63)), "");
    EXPECT_EQ(MakeToken(L"pw", {}, TestSalt(2, 64)), "");
}

TEST(CredentialHash, VerifyRefusesWrongPasswordsAndShortStoredHashes) {
    const OctetArray ps = TestSalt(3, 64), es = TestSalt(4, 64);
    std::uint8_t h[64];
    ASSERT_TRUE(ComputeCredentialHash(L"right", ps, es, h));
    OctetArray stored(h, h + 64);
    EXPECT_TRUE(VerifyPassword(L"right", ps, es, stored));
    EXPECT_FALSE(VerifyPassword(L"Right", ps, es, stored));
    // Only the first 64 bytes of a longer stored hash count.
    OctetArray longer = stored;
    longer.push_back(0xEE);
    EXPECT_TRUE(VerifyPassword(L"right", ps, es, longer));
    stored.pop_back();
    EXPECT_FALSE(VerifyPassword(L"right", ps, es, stored));
}

TEST(CredentialHash, TokenLineNamesTheFirstMatchingEntryCaseSensitively) {
    const OctetArray ps = TestSalt(7, 64);
    std::vector<CXomAccountingInformationChildEntry> entries(2);
    entries[0].m_name = L"Project";
    entries[0].m_serverAuthSalt = TestSalt(8, 64);
    entries[1].m_name = L"project";
    entries[1].m_serverAuthSalt = TestSalt(9, 64);
    const std::string line = MakeTokenLine(L"project", L"pw", ps, entries);
    EXPECT_EQ(line,
              "      <Token>" + MakeToken(L"pw", ps, entries[1].m_serverAuthSalt) + "</Token>\r\n");
    EXPECT_EQ(MakeTokenLine(L"PROJECT", L"pw", ps, entries), "");
    entries[1].m_serverAuthSalt.pop_back();
    EXPECT_EQ(MakeTokenLine(L"project", L"pw", ps, entries), "");
}

}  // namespace
