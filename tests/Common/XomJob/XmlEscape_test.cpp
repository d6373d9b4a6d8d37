#include "Common/XomJob/XmlEscape.h"

#include <gtest/gtest.h>

namespace {

std::string Escaped(const std::u16string& s) {
    const std::u16string out = EscapeXmlText(s);
    return std::string(out.begin(), out.end());  // the escaped form is ASCII
}

TEST(EscapeXmlText, MarkupCharactersBecomeEntities) {
    EXPECT_EQ(Escaped(u"a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&apos;f");
}

TEST(EscapeXmlText, NonAsciiBecomesFourDigitReferences) {
    EXPECT_EQ(Escaped(u"M\u00FCller & S\u00F6hne"), "M&#x00FC;ller &amp; S&#x00F6;hne");
    EXPECT_EQ(Escaped(u"\u007F\u20AC"), "&#x007F;&#x20AC;");
}

TEST(EscapeXmlText, ASurrogatePairIsOneSixDigitReference) {
    EXPECT_EQ(Escaped(u"x\U0001F600y"), "x&#x01F600;y");
}

TEST(EscapeXmlText, TabLineFeedAndReturnStayReferable) {
    EXPECT_EQ(Escaped(u"\t\n\r"), "&#x0009;&#x000A;&#x000D;");
}

// Characters XML 1.0 cannot hold even as references would make the printer reject the ticket.
TEST(EscapeXmlText, UnreferableCharactersBecomeTheReplacementCharacter) {
    EXPECT_EQ(Escaped(u"a\x01"
                      u"b"),
              "a&#xFFFD;b");
    EXPECT_EQ(Escaped(std::u16string(1, u'\0')), "&#xFFFD;");
    EXPECT_EQ(Escaped(u"\uFFFE\uFFFF"), "&#xFFFD;&#xFFFD;");
    const char16_t loneHighThenText[] = {0xD83D, u'a', 0};
    EXPECT_EQ(Escaped(loneHighThenText), "&#xFFFD;a");
    const char16_t twoHighs[] = {0xD83D, 0xD83D, 0xDE00, 0};
    EXPECT_EQ(Escaped(twoHighs), "&#xFFFD;&#x01F600;");
    const char16_t highAtEnd[] = {u'a', 0xDBFF, 0};
    EXPECT_EQ(Escaped(highAtEnd), "a&#xFFFD;");
    const char16_t loneLow[] = {0xDC00, 0};
    EXPECT_EQ(Escaped(loneLow), "&#xFFFD;");
}

TEST(EscapeXmlText, ReturnsTheNeededSizeAndWritesOnlyWhatFits) {
    const std::u16string source = u"<\u00FC";
    char16_t buffer[6];
    for (auto& c : buffer) c = u'#';
    EXPECT_EQ(EscapeXmlText(source.data(), source.size(), buffer, 5), 12u);
    EXPECT_EQ(std::u16string(buffer, 6), u"&lt;&#");
    EXPECT_EQ(EscapeXmlText(source.data(), source.size(), nullptr, 0), 12u);
}

TEST(ToUtf16Units, CharactersBeyondTheBmpBecomeSurrogatePairs) {
    EXPECT_EQ(ToUtf16Units(L"a\U0001F600"), (std::u16string{u'a', 0xD83D, 0xDE00}));
    EXPECT_EQ(ToUtf16Units(std::wstring(1, static_cast<wchar_t>(0x110000))), u"\uFFFD");
    EXPECT_EQ(ToUtf16Units(std::wstring(1, static_cast<wchar_t>(0xD800))),
              std::u16string(1, 0xD800));
}

}  // namespace
