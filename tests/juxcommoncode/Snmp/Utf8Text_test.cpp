#include "juxcommoncode/Snmp/Utf8Text.h"

#include <gtest/gtest.h>

#include "SnmpTestUtil.h"

namespace JuxNetwork {
namespace {

using test::Hex;

TEST(Utf8Text, ValidityFollowsTheStrictRulesAndTheZeroRule) {
    const struct {
        const char* octets;
        bool valid;
    } cases[] = {
        {"", true},
        {"48 69", true},
        {"41 00", true},      // zero as the last octet
        {"41 00 00", true},   // zero followed by zero
        {"41 00 42", false},  // zero inside the text
        {"00 41", false},
        {"C2 A9", true},         // U+00A9
        {"C1 81", false},        // overlong two-octet form
        {"E0 80 80", false},     // overlong three-octet form
        {"E0 A0 80", true},      // U+0800
        {"ED 9F BF", true},      // U+D7FF
        {"ED A0 80", false},     // surrogate U+D800
        {"EF BF BD", true},      // U+FFFD
        {"F0 8F BF BF", false},  // overlong four-octet form
        {"F0 90 80 80", true},   // U+10000
        {"F4 8F BF BF", true},   // U+10FFFF
        {"F4 90 80 80", false},  // above U+10FFFF
        {"F5 80 80 80", false},
        {"E2 82", false},  // cut short by the end
        {"80", false},     // continuation without a lead
        {"C3 41", false},  // lead without a continuation
        {"FF FE", false},
    };
    for (const auto& c : cases) {
        const BerOctets octets = Hex(c.octets);
        EXPECT_EQ(IsValidUtf8(octets.data(), octets.size()), c.valid) << c.octets;
    }
}

TEST(Utf8Text, ConvertsBothWaysAndReplacesBrokenSequences) {
    const std::wstring text = L"a\u00e9\u20ac\U0001F600";
    const std::string utf8 = WideToUtf8(text);
    EXPECT_EQ(utf8, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToWide(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()), text);

    const BerOctets broken = Hex("41 E2 82 42 ED A0 80 43");
    EXPECT_EQ(Utf8ToWide(broken.data(), broken.size()), L"A\uFFFDB\uFFFDC");
    EXPECT_EQ(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

TEST(Utf8Text, PrintableMeansNoControlCharacters) {
    EXPECT_TRUE(IsPrintableText(L"Plotter \u00e9 \u20ac"));
    EXPECT_TRUE(IsPrintableText(L""));
    EXPECT_FALSE(IsPrintableText(L"A\tB"));
    EXPECT_FALSE(IsPrintableText(L"line\n"));
    EXPECT_FALSE(IsPrintableText(L"\x7f"));
    EXPECT_FALSE(IsPrintableText(L"\x85"));
    EXPECT_FALSE(IsPrintableText(L"\uFFFD"));
}

}  // namespace
}  // namespace JuxNetwork
