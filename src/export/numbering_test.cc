#include "export/numbering.h"

#include "gtest/gtest.h"
#include "tests/test_util.h"

namespace polimreza {
namespace {

TEST(NumberingTest, NumbersSlotStartsInReadingOrder) {
  const NumberedPuzzle numbered = NumberPuzzle(SmallPuzzle(), "T");
  EXPECT_EQ(numbered.numbers,
            (std::vector<unsigned>{1, 2, 0, 3, 0, 4, 5, 6, 0}));
  ASSERT_EQ(numbered.across.size(), 4u);
  ASSERT_EQ(numbered.down.size(), 4u);
  // Single squares between blocks (C, D across; B, F down) are slots too.
  const std::pair<unsigned, std::vector<CellIndex>> across[] = {
      {1, {0, 1}}, {3, {3}}, {4, {5}}, {5, {6, 7, 8}}};
  const std::pair<unsigned, std::vector<CellIndex>> down[] = {
      {1, {0, 3, 6}}, {2, {1}}, {4, {5, 8}}, {6, {7}}};
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(numbered.across[k].number, across[k].first);
    EXPECT_EQ(numbered.across[k].cells, across[k].second);
  }
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(numbered.down[k].number, down[k].first);
    EXPECT_EQ(numbered.down[k].cells, down[k].second);
  }
  EXPECT_EQ(numbered.down[2].clue, "dg");
  EXPECT_EQ(numbered.letters[8], "G");
}

TEST(NumberingTest, DisplayTextReplacesWhatCannotBeShown) {
  EXPECT_EQ(DisplayText("Caj \xc4\x8d\t;"), "Caj \xc4\x8d\t;");
  EXPECT_EQ(DisplayText("a\xff"
                        "b"),
            "a\xef\xbf\xbd"
            "b");
  EXPECT_EQ(DisplayText(std::string("x\0y\x1b", 4)),
            "x\xef\xbf\xbdy\xef\xbf\xbd");
}

}  // namespace
}  // namespace polimreza
