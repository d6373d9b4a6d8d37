#include "Common/XOM/LocalizedString.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(DriverStringTable, IdsAscendAndTextsAreNotEmpty) {
    const auto table = DriverStringTable();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_NE(table[i].text[0], L'\0') << table[i].id;
        if (i > 0) {
            EXPECT_LT(table[i - 1].id, table[i].id) << "at " << table[i].id;
        }
    }
}

// Every string number the driver, its dialogs and its capability data refer to.
TEST(DriverStringTable, CoversEveryIdTheDriverUses) {
    std::set<unsigned> used{101, 102};
    for (unsigned id = 201; id <= 215; ++id) used.insert(id);
    for (unsigned id : {217u, 218u, 219u, 220u, 221u, 222u, 223u, 225u, 226u, 227u, 228u,
                        229u, 230u, 231u, 233u, 235u, 237u, 238u, 264u, 265u, 266u, 267u,
                        268u, 270u, 271u, 272u, 286u, 287u, 371u, 372u, 374u, 375u, 376u}) {
        used.insert(id);
    }
    for (unsigned id = 240; id <= 261; ++id) used.insert(id);
    for (unsigned id = 273; id <= 280; ++id) used.insert(id);
    for (unsigned id = 282; id <= 284; ++id) used.insert(id);
    for (unsigned id = 288; id <= 300; ++id) used.insert(id);
    for (unsigned id = 350; id <= 370; ++id) used.insert(id);  // language names
    for (unsigned id = 501; id <= 502; ++id) used.insert(id);  // media sources
    for (unsigned id = 541; id <= 545; ++id) used.insert(id);  // resolutions
    for (unsigned id = 562; id <= 565; ++id) used.insert(id);  // colour modes
    for (unsigned id = 603; id <= 656; ++id) used.insert(id);  // media sizes

    std::set<unsigned> present;
    for (const auto& s : DriverStringTable()) present.insert(s.id);
    for (unsigned id : used) EXPECT_TRUE(present.count(id)) << "string " << id << " is missing";
}

TEST(DriverStringTable, TextsTheDeviceShows) {
    EXPECT_EQ(LocalizedString(203), L"XOM Printer Message");
    EXPECT_EQ(LocalizedString(204), L"Error");
    EXPECT_EQ(LocalizedString(215), L"Plot is empty.");
    EXPECT_EQ(LocalizedString(278), L"Plot to Windows printer port");
    EXPECT_EQ(LocalizedString(605), L"ISO A4 (210 x 297 MM)");
    EXPECT_EQ(LocalizedString(631), L"ANSI A (8.5 x 11 Inches)");
    EXPECT_EQ(LocalizedString(656), L"ANSI E1 (30 x 42 Inches)");
}

}  // namespace
