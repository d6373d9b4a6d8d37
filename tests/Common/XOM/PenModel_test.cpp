#include "Common/XOM/PenModel.h"

#include <gtest/gtest.h>

#include <vector>

#include "Common/XOM/ColorIndexTable.h"
#include "Common/XOM/DynamicPenQueue.h"

namespace {

TEST(DynamicPenQueueTest, InitialOrderIsTheFourShadeFamiliesOldestFirst) {
    DynamicPenQueue queue;
    queue.BuildInitial();
    std::vector<int> expected;
    for (int start : {19, 18, 17, 16}) {
        for (int pen = start; pen < 250; pen += 10) expected.push_back(pen);
    }
    ASSERT_EQ(expected.size(), 96u);
    EXPECT_EQ(queue.ToVector(), expected);
    EXPECT_EQ(queue.Count(), 96);
    EXPECT_EQ(queue.Head(), 19);
    EXPECT_EQ(queue.Tail(), 246);
}

TEST(DynamicPenQueueTest, RotateHeadMovesTheOldestPenToTheTail) {
    DynamicPenQueue queue;
    queue.BuildInitial();
    EXPECT_EQ(queue.RotateHead(), 19);
    EXPECT_EQ(queue.Head(), 29);
    EXPECT_EQ(queue.Tail(), 19);
    EXPECT_EQ(queue.Count(), 96);
    for (int i = 1; i < 96; ++i) queue.RotateHead();
    EXPECT_EQ(queue.Head(), 19) << "after a full cycle the first pen is oldest again";
}

TEST(DynamicPenQueueTest, EmptyAndSingleQueuesAndBadPens) {
    DynamicPenQueue queue;
    EXPECT_EQ(queue.RotateHead(), DynamicPenQueue::kNone);
    queue.PushBack(0);
    queue.PushBack(256);
    queue.PushBack(-3);
    EXPECT_EQ(queue.Count(), 0);
    queue.PushBack(7);
    queue.PushBack(7);
    EXPECT_EQ(queue.Count(), 1);
    EXPECT_EQ(queue.RotateHead(), 7);
    EXPECT_EQ(queue.ToVector(), std::vector<int>{7});
}

TEST(ColorIndexTableTest, SpotEntriesAndPackedOrder) {
    const struct {
        int index;
        int r, g, b;
    } spots[] = {{0, 0, 0, 0},      {1, 255, 0, 0},      {7, 0, 0, 0},         {8, 128, 128, 128},
                 {19, 114, 57, 57}, {21, 255, 159, 127}, {141, 127, 223, 255}, {249, 114, 57, 71},
                 {250, 84, 84, 84}, {255, 250, 250, 250}};
    for (const auto& s : spots) {
        const RgbColor c = kColorIndexTable[static_cast<std::size_t>(s.index)];
        EXPECT_EQ(c.red, s.r) << "index " << s.index;
        EXPECT_EQ(c.green, s.g) << "index " << s.index;
        EXPECT_EQ(c.blue, s.b) << "index " << s.index;
    }
    // Blue in the low byte, red in the third.
    EXPECT_EQ(PackColor(0x12, 0x34, 0x56), 0x00123456u);
    EXPECT_EQ(GrayLuminance(PackColor(255, 255, 255)), 255);
    EXPECT_EQ(GrayLuminance(PackColor(16, 0, 0)), 9);
    EXPECT_EQ(GrayPen(0), 1);
    EXPECT_EQ(GrayPen(1), 1);
    EXPECT_EQ(GrayPen(2), 2);
    EXPECT_EQ(GrayPen(255), 255);
}

class WriterDefaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Leftovers of an earlier job that the defaults must clear.
        state_.jobStarted = 1;
        state_.plotNotEmpty = 1;
        state_.wantedLineWeight = 9;
        state_.wantedLineCap = 0;
        state_.wantedColor = 0x00FF0000;
        state_.wantedPenIndex = 40;
        state_.minLineWeight = 3;
        state_.virtualPens = 1;
        state_.penCount = 7;
    }
    PlotStreamState state_;
};

TEST_F(WriterDefaultsTest, CommonDefaults) {
    ApplyWriterDefaults(state_, true, kPenModelGray);
    EXPECT_EQ(state_.mergeFlag, 1);
    EXPECT_EQ(state_.colorModel, kPenModelGray);
    EXPECT_EQ(state_.jobStarted, 0);
    EXPECT_EQ(state_.plotNotEmpty, 0);
    EXPECT_EQ(state_.wantedLineWeight, 1);
    EXPECT_EQ(state_.wantedLineJoin, 2);
    EXPECT_EQ(state_.wantedLineCap, 2);
    EXPECT_EQ(state_.wantedLineType, 1);
    EXPECT_EQ(state_.wantedColor, 0u);
    EXPECT_EQ(state_.wantedPenIndex, 1);
    EXPECT_EQ(state_.minLineWeight, 1);
    EXPECT_EQ(state_.penCount, 255);
    EXPECT_EQ(state_.virtualPens, 0);
    EXPECT_EQ(state_.penPalette[0], PackColor(255, 255, 255));
}

TEST_F(WriterDefaultsTest, MonochromeHasTwoPensAllBlack) {
    LoadColorIndexPens(state_);
    ApplyWriterDefaults(state_, false, kPenModelMonochrome);
    EXPECT_EQ(state_.mergeFlag, 0);
    EXPECT_EQ(state_.penCount, 2);
    for (uint32_t entry : state_.penPalette) ASSERT_EQ(entry, 0u);
}

TEST_F(WriterDefaultsTest, GrayPensAreTheirOwnLevel) {
    ApplyWriterDefaults(state_, false, kPenModelGray);
    EXPECT_EQ(state_.penPalette[1], 0u);
    EXPECT_EQ(state_.penPalette[2], PackColor(2, 2, 2));
    EXPECT_EQ(state_.penPalette[128], PackColor(128, 128, 128));
    EXPECT_EQ(state_.penPalette[255], PackColor(255, 255, 255));
}

TEST_F(WriterDefaultsTest, VirtualPenModelsUseThePrintersPens) {
    ApplyWriterDefaults(state_, false, kPenModelVirtualMono);
    EXPECT_EQ(state_.virtualPens, 1);
    ApplyWriterDefaults(state_, false, kPenModelColor);
    EXPECT_EQ(state_.virtualPens, 0);
    ApplyWriterDefaults(state_, false, kPenModelVirtualColor);
    EXPECT_EQ(state_.virtualPens, 1);
    EXPECT_EQ(state_.penCount, 255);
}

TEST_F(WriterDefaultsTest, ColorModeLoadsTheIndexTableAndQueue) {
    LoadColorIndexPens(state_);
    ApplyWriterDefaults(state_, false, kPenModelColor);
    EXPECT_EQ(state_.penPalette[0], PackColor(255, 255, 255));
    for (int pen = 1; pen < 256; ++pen) {
        ASSERT_EQ(state_.penPalette[static_cast<std::size_t>(pen)],
                  PackColor(kColorIndexTable[static_cast<std::size_t>(pen)]))
            << "pen " << pen;
    }
    EXPECT_EQ(state_.penQueue.Count(), 96);
    EXPECT_EQ(state_.penQueue.Head(), 19);
}

// A colour model never set by a colour mode becomes the colour model; its pens must be loaded
// too, or pen selection would search an empty palette and an empty queue.
TEST_F(WriterDefaultsTest, UnsetModelBecomesColorWithItsPens) {
    ASSERT_EQ(PlotStreamState{}.colorModel, kPenModelUnset) << "a new record has no colour mode";
    ApplyWriterDefaults(state_, false, kPenModelUnset);
    EXPECT_EQ(state_.colorModel, kPenModelColor);
    EXPECT_EQ(state_.penPalette[1], PackColor(255, 0, 0));
    EXPECT_EQ(state_.penQueue.Count(), 96);
}

}  // namespace
