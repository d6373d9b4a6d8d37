#include "tools/xomsim/FieldReader.h"

#include <gtest/gtest.h>

namespace xomsim {
namespace {

TEST(FieldReader, ReadsPlainQuotedAndEmptyValues) {
    FieldReader fields;
    ASSERT_TRUE(fields.Parse(
        R"( name="Plain \"A\" 80 g\\"  id=18446744073709551615 n=-2147483648 e= q="" )"))
        << fields.error();
    std::string name, empty = "x", quoted = "x", absent = "kept";
    std::uint64_t id = 0;
    std::int32_t n = 0;
    std::optional<std::int32_t> missing;
    EXPECT_TRUE(fields.Text("name", name, true));
    EXPECT_TRUE(fields.UInt64("id", id, true));
    EXPECT_TRUE(fields.Int32("n", n, true));
    EXPECT_TRUE(fields.Text("e", empty, true));
    EXPECT_TRUE(fields.Text("q", quoted, true));
    EXPECT_TRUE(fields.Text("other", absent, false));
    EXPECT_TRUE(fields.OptionalInt32("mono", missing));
    EXPECT_TRUE(fields.NoOtherKeys("name, id, n, e, q"));
    EXPECT_EQ(name, "Plain \"A\" 80 g\\");
    EXPECT_EQ(id, 18446744073709551615ULL);
    EXPECT_EQ(n, -2147483647 - 1);
    EXPECT_EQ(empty, "");
    EXPECT_EQ(quoted, "");
    EXPECT_EQ(absent, "kept");
    EXPECT_FALSE(missing.has_value());
}

TEST(FieldReader, BadFieldsAndValuesNameTheKey) {
    const struct {
        std::string text;
        std::string error;
    } syntax[] = {
        {"name=a name=b", "'name' is given twice"},
        {"name=a stray", "'stray' is not key=value (keys are small letters, digits and '-')"},
        {"Name=a", "'Name=a' is not key=value (keys are small letters, digits and '-')"},
        {"name=\"open", "the quoted value of 'name' has no closing quote"},
        {"name=\"a\"b", "a blank must follow the quoted value of 'name'"},
    };
    for (const auto& c : syntax) {
        FieldReader fields;
        EXPECT_FALSE(fields.Parse(c.text)) << c.text;
        EXPECT_EQ(fields.error(), c.error);
    }

    FieldReader fields;
    std::int32_t i = 0;
    std::uint32_t u = 0;
    std::uint64_t w = 0;
    std::vector<std::uint8_t> hex;
    ASSERT_TRUE(fields.Parse("a=2147483648 b=-1 c=18446744073709551616 d=0a0 e=1x f=zz"));
    EXPECT_FALSE(fields.Int32("a", i, true));
    EXPECT_EQ(fields.error(), "a='2147483648' is not a 32-bit integer");
    ASSERT_TRUE(fields.Parse("b=-1"));
    EXPECT_FALSE(fields.UInt32("b", u, true));
    EXPECT_EQ(fields.error(), "b='-1' is not a number from 0 to 4294967295");
    ASSERT_TRUE(fields.Parse("c=18446744073709551616"));
    EXPECT_FALSE(fields.UInt64("c", w, true));
    EXPECT_EQ(fields.error(),
              "c='18446744073709551616' is not a number from 0 to 18446744073709551615");
    ASSERT_TRUE(fields.Parse("d=0a0"));
    EXPECT_FALSE(fields.Hex("d", hex, 2));
    EXPECT_EQ(fields.error(), "d= needs 2 octets as 4 hex digits");
    ASSERT_TRUE(fields.Parse("e=1x"));
    EXPECT_FALSE(fields.Int32("e", i, true));
    ASSERT_TRUE(fields.Parse("x=1"));
    EXPECT_FALSE(fields.Int32("count", i, true));
    EXPECT_EQ(fields.error(), "'count=' is missing");
    // The first failure stays; later getters fail too.
    EXPECT_FALSE(fields.Int32("x", i, true));
    EXPECT_EQ(fields.error(), "'count=' is missing");
    ASSERT_TRUE(fields.Parse("count=1 colour=2"));
    EXPECT_TRUE(fields.Int32("count", i, true));
    EXPECT_FALSE(fields.NoOtherKeys("count"));
    EXPECT_EQ(fields.error(), "'colour' is none of count");
}

}  // namespace
}  // namespace xomsim
