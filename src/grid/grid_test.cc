#include "grid/grid.h"

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

TEST(GridTest, SlotStartsFollowBlocksAndEdges) {
  Grid grid = MakeGrid({"*A#*", "**#*", "#***"});
  EXPECT_TRUE(grid.IsSlotStart(0, 0, ACROSS));
  EXPECT_FALSE(grid.IsSlotStart(1, 0, ACROSS));  // left neighbour is open
  EXPECT_FALSE(grid.IsSlotStart(2, 0, ACROSS));  // a block
  EXPECT_TRUE(grid.IsSlotStart(3, 0, ACROSS));
  EXPECT_TRUE(grid.IsSlotStart(1, 2, ACROSS));
  EXPECT_FALSE(grid.IsSlotStart(0, 1, DOWN));
  EXPECT_TRUE(grid.IsSlotStart(2, 2, DOWN));
  EXPECT_FALSE(grid.IsSlotStart(0, 0, 7));
}

TEST(GridTest, SlotLengthStopsAtBlocksAndEdges) {
  Grid grid = MakeGrid({"***", "*#*", "***"});
  EXPECT_EQ(grid.SlotLength(0, ACROSS), 3u);  // never wraps into row 1
  EXPECT_EQ(grid.SlotLength(3, ACROSS), 1u);  // single square
  EXPECT_EQ(grid.SlotLength(5, ACROSS), 1u);  // last column
  EXPECT_EQ(grid.SlotLength(0, DOWN), 3u);    // stops at the bottom row
  EXPECT_EQ(grid.SlotLength(1, DOWN), 1u);
  EXPECT_EQ(grid.SlotLength(4, ACROSS), 2u);  // a block start still counts 1
  EXPECT_EQ(grid.SlotLength(0, 5), 1u);
  EXPECT_EQ(grid.SlotLengthUpTo(0, ACROSS, 2), 2u);
}

// A slot's cells step by one across and by the width down, as many as its
// length; by position they are the same cells.
TEST(GridTest, SlotCellsWalkTheSlot) {
  Grid grid = MakeGrid({"***", "*#*", "***"});
  const auto cells = [](SlotCells walk) {
    return std::vector<CellIndex>(walk.begin(), walk.end());
  };
  EXPECT_EQ(cells(grid.CellsOf(Slot{6, ACROSS, 3})),
            (std::vector<CellIndex>{6, 7, 8}));
  EXPECT_EQ(cells(grid.CellsOf(2, DOWN)), (std::vector<CellIndex>{2, 5, 8}));
  EXPECT_EQ(cells(grid.CellsOf(Slot{0, DOWN, 0})), std::vector<CellIndex>{});
  EXPECT_EQ(grid.CellsOf(Slot{1, DOWN, 2})[1], 4u);
  EXPECT_EQ(grid.CellsOf(3, ACROSS).size(), 1u);
}

TEST(GridTest, ReadWriteAndCountEmpty) {
  Grid grid = MakeGrid({"A*#", "**#"});
  EXPECT_EQ(grid.ReadSlot(0, ACROSS), "A*");
  EXPECT_EQ(grid.CountEmpty(0, ACROSS), 1u);
  EXPECT_EQ(grid.CountEmpty(0, DOWN), 1u);
  EXPECT_EQ(grid.CountEmpty(0, 3), 0u);
  grid.WriteSlot("AB", 0, ACROSS);
  EXPECT_EQ(grid.ReadSlot(0, ACROSS), "AB");
  grid.WriteSlot("AC", 0, DOWN);
  EXPECT_EQ(grid.ReadSlot(3, ACROSS), "C*");
  EXPECT_FALSE(grid.IsGridFull());
  // A byte above 127 is stored widened as a signed value and comes back.
  grid.WriteSlot("C\xC5", 3, ACROSS);
  EXPECT_EQ(grid.Cell(4), -59);
  EXPECT_EQ(grid.ReadSlot(3, ACROSS), "C\xC5");
  EXPECT_TRUE(grid.IsGridFull());
}

TEST(GridTest, WriteSlotNeverLeavesTheSlot) {
  Grid grid = MakeGrid({"**#*", "****"});
  grid.WriteSlot("ABCDE", 0, ACROSS);
  EXPECT_EQ(grid.ReadSlot(0, ACROSS), "AB");
  EXPECT_EQ(grid.Cell(2), CELL_BLOCK);
  grid.WriteSlot("XYZ", 3, DOWN);
  EXPECT_EQ(grid.ReadSlot(3, DOWN), "XY");
  grid.WriteSlot("Q", 0, 4);
  EXPECT_EQ(grid.Cell(0), 'A');
}

TEST(GridTest, FullnessOfEmptyAndLastCell) {
  EXPECT_TRUE(Grid().IsGridFull());
  EXPECT_FALSE(MakeGrid({"AB", "C*"}).IsGridFull());
}

TEST(GridTest, FindsTheFirstLongSlotRowByRowAcrossFirst) {
  EXPECT_FALSE(FindLongSlot(MakeGrid({"*********", "#########"})));
  std::string ten(10, '*');
  auto across = FindLongSlot(MakeGrid({ten}));
  ASSERT_TRUE(across);
  EXPECT_EQ(across->start, 0u);
  EXPECT_EQ(across->direction, ACROSS);
  EXPECT_EQ(across->length, 10u);

  // A DOWN slot of 11 starting in column 2 comes before an ACROSS slot of
  // 12 in row 1.
  std::vector<std::string> rows(11, "##*#############");
  rows[1] = "##*#************";
  auto down = FindLongSlot(MakeGrid(rows));
  ASSERT_TRUE(down);
  EXPECT_EQ(down->start, 2u);
  EXPECT_EQ(down->direction, DOWN);
  EXPECT_EQ(down->length, 11u);
}

TEST(GridTest, FindsASlotLongerThanTheCompanionsLimit) {
  const std::string row(kMaxEntryLength, '*');
  EXPECT_FALSE(FindLongSlot(MakeGrid({row, row}), kMaxEntryLength));
  auto down = FindLongSlot(
      MakeGrid(std::vector<std::string>(kMaxEntryLength + 1, "#*")),
      kMaxEntryLength);
  ASSERT_TRUE(down);
  EXPECT_EQ(down->start, 1u);
  EXPECT_EQ(down->length, kMaxEntryLength + 1);
}

TEST(FindSlotsTest, ReadingOrderAcrossBeforeDownSinglesIncluded) {
  Grid grid = MakeGrid({"**#", "#*A"});
  std::vector<Slot> slots = FindSlots(grid);
  ASSERT_EQ(slots.size(), 5u);
  const std::vector<std::tuple<CellIndex, int, unsigned>> expected = {
      {0, ACROSS, 2}, {0, DOWN, 1}, {1, DOWN, 2}, {4, ACROSS, 2}, {5, DOWN, 1}};
  for (std::size_t s = 0; s < slots.size(); ++s) {
    EXPECT_EQ(
        std::make_tuple(slots[s].start, slots[s].direction, slots[s].length),
        expected[s]);
  }
}

}  // namespace
}  // namespace polimreza
