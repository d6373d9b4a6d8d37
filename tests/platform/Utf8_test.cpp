#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using xomplatform::FromUtf8;
using xomplatform::PathFromBytes;
using xomplatform::PathToBytes;
using xomplatform::ToUtf8;

TEST(Utf8, RoundTripsEveryPlaneWhateverTheLocale) {
    // The conversion ignores the C locale: under "C" these would otherwise be lost.
    const std::wstring text = L"Gr\u00f6\u00dfe \u6e2c\u8a66 \U0001F5A8";
    const std::string bytes = ToUtf8(text);
    EXPECT_EQ(bytes,
              "Gr\xC3\xB6\xC3\x9F"
              "e \xE6\xB8\xAC\xE8\xA9\xA6 \xF0\x9F\x96\xA8");
    EXPECT_EQ(FromUtf8(bytes), text);
    EXPECT_EQ(FromUtf8(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(FromUtf8("\xFF"), L"\uFFFD");
    EXPECT_EQ(FromUtf8("a\xC3"), L"a\uFFFD");                              // cut by the end
    EXPECT_EQ(FromUtf8("\xC0\x80"), L"\uFFFD\uFFFD");                      // overlong NUL
    EXPECT_EQ(FromUtf8("\xED\xA0\x80x"), L"\uFFFD\uFFFD\uFFFDx");          // a surrogate
    EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
    // Unencodable wide characters are written as U+FFFD, never as invalid bytes.
    EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00))), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
}

// File names are bytes: every byte sequence survives the trip through wide text unchanged, valid
// UTF-8 reads as its characters, and only the bytes that are not UTF-8 are escaped.
TEST(Utf8, PathsKeepEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(PathToBytes(PathFromBytes(all)), all);
    const std::string mixed =
        "/tmp/Gr\xC3\xB6\xC3\x9F"
        "e\xFF\xC3.job";
    EXPECT_EQ(PathToBytes(PathFromBytes(mixed)), mixed);
    EXPECT_EQ(PathFromBytes("Gr\xC3\xB6\xC3\x9F"
                            "e"),
              L"Gr\u00F6\u00DFe");
    EXPECT_EQ(PathFromBytes("a\xFF"), std::wstring(L"a") + static_cast<wchar_t>(0xDCFF));
    EXPECT_EQ(PathToBytes(L"Gr\u00F6\u00DFe"),
              "Gr\xC3\xB6\xC3\x9F"
              "e");
}

}  // namespace
