#include "search/placement.h"

#include "gtest/gtest.h"

namespace polimreza {
namespace {

// Whether a slot was open is read before any word is written: the across
// word fills the down slot's only open square, and the down slot still
// counts as one the search filled.
TEST(PlacementTest, OpenSlotsAreToldBeforeWriting) {
  Grid grid(2, 2);
  grid.SetCell(grid.Index(0, 0), CELL_EMPTY);
  grid.SetCell(grid.Index(1, 0), CELL_EMPTY);
  grid.SetCell(grid.Index(0, 1), 'C');
  grid.SetCell(grid.Index(1, 1), CELL_BLOCK);
  SearchResult result;
  result.slots = FindSlots(grid);
  result.words.resize(result.slots.size());
  std::vector<std::size_t> open;
  for (std::size_t s = 0; s < result.slots.size(); ++s) {
    const Slot& slot = result.slots[s];
    if (slot.start == grid.Index(0, 0) && slot.length == 2) {
      result.words[s] = SlotWord{slot.direction == ACROSS ? "AB" : "AC", 0};
      open.push_back(s);
    }
  }
  ASSERT_EQ(open.size(), 2u);
  const std::vector<PlacedSlot> placed = PlaceResult(result, grid);
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0].slot, open[0]);
  EXPECT_TRUE(placed[0].was_open);
  EXPECT_TRUE(placed[1].was_open);
  EXPECT_EQ(grid.ReadSlot(grid.Index(0, 0), ACROSS), "AB");
  EXPECT_EQ(grid.ReadSlot(grid.Index(0, 0), DOWN), "AC");
}

}  // namespace
}  // namespace polimreza
