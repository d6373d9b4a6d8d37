#include "juxcommoncode/JuxSerialize/JuxTextField.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

#include "juxcommoncode/JuxSerialize/JuxFieldIO.h"
#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"

namespace JuxNetwork {
namespace {

std::string Contents(CJuxSerializingBuffer& buffer) {
    std::string bytes(static_cast<std::size_t>(buffer.GetDataSize()), '\0');
    buffer.StartReadFrom();
    buffer.ReadBytes(bytes.data(), bytes.size());
    return bytes;
}

std::string Written(const std::wstring& text) {
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    EXPECT_EQ(WriteTextField(buffer, text), kS_OK);
    return Contents(buffer);
}

std::wstring ReadBack(const std::string& bytes, HRESULT* result = nullptr) {
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    buffer.WriteBytes(bytes.data(), bytes.size());
    buffer.StartReadFrom();
    std::wstring text = L"unchanged";
    const HRESULT hr = ReadTextField(buffer, text);
    if (result) *result = hr;
    return text;
}

// Runs the body with the thread's LC_CTYPE set to the named locale, restoring the old one.
template <typename Body>
void WithLocale(const char* name, Body body) {
    const std::string old = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, name), nullptr) << name;
    body();
    std::setlocale(LC_CTYPE, old.c_str());
}

const std::wstring kChinese = L"\u56fe\u7eb8-\u5e73\u9762\u56fe";  // 5 CJK characters and '-'
const std::wstring kEmoji = L"plan \U0001F3D7\U0001F4D0.dwg";

TEST(JuxTextField, EmptyTextIsTwoZeroBytesAndReadsBackEmpty) {
    EXPECT_EQ(Written(L""), std::string(2, '\0'));
    EXPECT_EQ(ReadBack(std::string(2, '\0')), L"");
}

TEST(JuxTextField, LengthPrefixIsLittleEndianByteCount) {
    EXPECT_EQ(Written(L"Plot complete"), std::string("\x0d\x00Plot complete", 15));
}

// Non-ASCII names are stored whole as UTF-8, whether the program set a UTF-8 locale or left the
// plain "C" one active.
TEST(JuxTextField, ChineseAndEmojiAreStoredWholeInCAndUtf8Locales) {
    const std::string chineseUtf8 = "\xe5\x9b\xbe\xe7\xba\xb8-\xe5\xb9\xb3\xe9\x9d\xa2\xe5\x9b\xbe";
    const std::string emojiUtf8 = "plan \xf0\x9f\x8f\x97\xf0\x9f\x93\x90.dwg";
    for (const char* locale : {"C", "C.UTF-8"}) {
        SCOPED_TRACE(locale);
        WithLocale(locale, [&] {
            EXPECT_EQ(Written(kChinese), std::string(1, static_cast<char>(chineseUtf8.size())) +
                                             std::string(1, '\0') + chineseUtf8);
            EXPECT_EQ(Written(kEmoji), std::string(1, static_cast<char>(emojiUtf8.size())) +
                                           std::string(1, '\0') + emojiUtf8);
            EXPECT_EQ(ReadBack(Written(kChinese)), kChinese);
            EXPECT_EQ(ReadBack(Written(kEmoji)), kEmoji);
        });
    }
}

// The count is 16 bits: a longer text is cut before the first character that would not fit
// whole, instead of wrapping the count and writing more bytes than it announces.
TEST(JuxTextField, TextBeyond65535BytesIsCutAtACharacterBoundary) {
    const std::wstring emoji(20000, L'\U0001F4D0');  // 80000 bytes of UTF-8
    const std::string bytes = Written(emoji);
    const std::size_t stored =
        static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8);
    EXPECT_EQ(stored, 65532u) << "16383 whole characters of 4 bytes";
    EXPECT_EQ(bytes.size(), stored + 2);
    EXPECT_EQ(ReadBack(bytes), emoji.substr(0, 16383));

    const std::wstring ascii(70000, L'a');
    const std::string asciiBytes = Written(ascii);
    EXPECT_EQ(asciiBytes.size(), 65537u);
    EXPECT_EQ(ReadBack(asciiBytes), ascii.substr(0, 65535));
}

TEST(JuxTextField, ReadingEndsTextAtFirstZeroButConsumesTheWholeField) {
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    const std::string field(
        "\x05\x00"
        "ab\0cd"
        "\x01\x00"
        "z",
        10);
    buffer.WriteBytes(field.data(), field.size());
    buffer.StartReadFrom();
    std::wstring first, second;
    ASSERT_EQ(ReadTextField(buffer, first), kS_OK);
    EXPECT_EQ(first, L"ab");
    EXPECT_EQ(buffer.GetPosition(), 7u);
    ASSERT_EQ(ReadTextField(buffer, second), kS_OK);
    EXPECT_EQ(second, L"z");
}

TEST(JuxTextField, MalformedFieldsFailOrDecodeSafely) {
    HRESULT hr = kS_OK;
    // Announces 10 bytes, holds 3: fails and leaves the text alone.
    EXPECT_EQ(ReadBack(std::string("\x0a\x00"
                                   "abc",
                                   5),
                       &hr),
              L"unchanged");
    EXPECT_TRUE(Failed(hr));
    // One byte of a count.
    EXPECT_EQ(ReadBack(std::string("\x05", 1), &hr), L"unchanged");
    EXPECT_TRUE(Failed(hr));
    // Bytes that are not UTF-8 become replacement characters, one per byte.
    EXPECT_EQ(ReadBack(std::string("\x04\x00"
                                   "a\xff\xe5"
                                   "b",
                                   6),
                       &hr),
              L"a\uFFFD\uFFFDb");
    EXPECT_EQ(hr, kS_OK);
}

TEST(JuxTextField, SerializeTextFollowsTheStoringFlag) {
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    std::wstring out = kChinese;
    std::uint64_t number = 0x1122334455667788ULL;
    ASSERT_EQ(SerializeText(buffer, out), kS_OK);
    ASSERT_EQ(SerializeUInt64(buffer, number), kS_OK);
    ASSERT_EQ(buffer.StartReadFrom(), kS_OK);
    std::wstring in;
    std::uint64_t back = 0;
    ASSERT_EQ(SerializeText(buffer, in), kS_OK);
    ASSERT_EQ(SerializeUInt64(buffer, back), kS_OK);
    EXPECT_EQ(in, kChinese);
    EXPECT_EQ(back, number);
}

}  // namespace
}  // namespace JuxNetwork
